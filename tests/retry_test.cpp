#include "runtime/retry.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace mofu {
namespace {

// Waiting for input another program holds: the first try is at once, tries
// are spaced by the pause, and the last falls at the end of the budget, so a
// hold let go just before it is still had; past the budget it gives up.
TEST(RetryWithin, TriesUntilSuccessOrTheBudgetIsSpent) {
  struct Case {
    std::int64_t budget;
    std::int64_t pause;
    std::int64_t free_from;  // the clock reading from which a try succeeds
    bool had;
    std::vector<std::int64_t> tries;
  };
  const Case cases[] = {
      {1'500, 200, 350, true, {0, 200, 400}},
      {1'500, 200, 1'500, true, {0, 200, 400, 600, 800, 1'000, 1'200, 1'400, 1'500}},
      {1'500, 200, 1'501, false, {0, 200, 400, 600, 800, 1'000, 1'200, 1'400, 1'500}},
  };
  for (const Case& c : cases) {
    std::int64_t clock = 0;
    std::vector<std::int64_t> tries;
    const bool had = RetryWithin(
        c.budget, c.pause,
        [&] {
          tries.push_back(clock);
          return clock >= c.free_from;
        },
        [&] { return clock; }, [&](std::int64_t micros) { clock += micros; });
    EXPECT_EQ(had, c.had) << "free from " << c.free_from;
    EXPECT_EQ(tries, c.tries) << "free from " << c.free_from;
  }
}

}  // namespace
}  // namespace mofu
