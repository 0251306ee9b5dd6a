#include "runtime/queue_looks.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace mofu {
namespace {

// What happens before a pass: the backend read the queue anyway (a flush, a
// quiet wait), or a wait ended with input waiting.
enum class Before { kNothing, kRead, kWanted };

struct Pass {
  std::int64_t at_micros;
  Before before;
  bool looks;
};

TEST(QueueLooks, ALookAMillisecondAtMostUnlessInputWaits) {
  struct Case {
    const char* name;
    std::vector<Pass> passes;
  };
  const Case cases[] = {
      {"passes close together look once a millisecond",
       {{1'000, Before::kNothing, true},
        {1'400, Before::kNothing, false},
        {1'999, Before::kNothing, false},
        {2'000, Before::kNothing, true},
        {2'500, Before::kNothing, false}}},
      {"a read counts as a look from the pass after it",
       {{1'000, Before::kNothing, true},
        {5'000, Before::kRead, false},
        {5'900, Before::kNothing, false},
        {6'000, Before::kNothing, true}}},
      {"input that ended a wait is looked at at once, however soon",
       {{1'000, Before::kNothing, true},
        {1'010, Before::kWanted, true},
        {1'020, Before::kNothing, false}}},
      {"input wins over a read a moment before",
       {{1'000, Before::kRead, false}, {1'005, Before::kWanted, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QueueLooks looks;
    for (const Pass& pass : c.passes) {
      SCOPED_TRACE(pass.at_micros);
      if (pass.before == Before::kRead) looks.Read();
      if (pass.before == Before::kWanted) looks.Wanted();
      // Input that cut a wait short is known without asking again, until a
      // pass looks at it.
      EXPECT_EQ(looks.Waiting(), pass.before == Before::kWanted);
      EXPECT_EQ(looks.Due(pass.at_micros), pass.looks);
      EXPECT_FALSE(looks.Waiting());
    }
  }
}

}  // namespace
}  // namespace mofu
