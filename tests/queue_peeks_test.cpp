#include "runtime/queue_peeks.hpp"

#include <gtest/gtest.h>

#include <tuple>

namespace mofu {
namespace {

// One run of passes: what came before each (' ' nothing; 'r' the backend
// read the queue anyway, a flush or a quiet wait; 'w' a wait ended with
// input waiting), and whether the pass looks at the queue. A read counts as
// a look from the pass after it; input that ended a wait is looked at at
// once, however soon, read or not.
TEST(QueuePeeks, ALookAMillisecondAtMostUnlessInputWaits) {
  const std::tuple<std::int64_t, char, bool> passes[] = {
      {1'000, ' ', true},  {1'400, ' ', false}, {1'999, ' ', false}, {2'000, ' ', true},
      {5'000, 'r', false}, {5'900, ' ', false}, {6'000, ' ', true},  {6'010, 'w', true},
      {6'020, ' ', false}, {7'100, 'r', false}, {7'105, 'w', true},
  };
  QueuePeeks peeks;
  for (auto [at, before, looked] : passes) {
    if (before == 'r') peeks.MarkQueueRead();
    if (before == 'w') peeks.MarkInputWaiting();
    // Input that cut a wait short is known without asking again, until a
    // pass looks at it.
    EXPECT_EQ(peeks.InputWaiting(), before == 'w') << at;
    EXPECT_EQ(peeks.PeekNow(at), looked) << at;
    EXPECT_FALSE(peeks.InputWaiting()) << at;
  }
}

}  // namespace
}  // namespace mofu
