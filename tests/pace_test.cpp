#include "platform/pace.hpp"

#include <gtest/gtest.h>

#include <optional>

namespace mofu {
namespace {

// Real time only moves when the model sleeps, or when a test says so.
class FakeClock final : public PaceClock {
 public:
  std::int64_t NowMicros() override { return now; }
  bool WaitForInput(std::int64_t deadline) override {
    ++sleeps;
    if (input_at && *input_at <= deadline) {
      now = std::max(now, *input_at);
      return true;
    }
    now = std::max(now, deadline);
    return false;
  }
  void PresentFrame() override { ++frames; }

  std::int64_t now = 1'000'000;
  std::optional<std::int64_t> input_at;
  int sleeps = 0;
  int frames = 0;
};

TEST(Pace, NominalTimeIsExactAndRealTimeFollowsIt) {
  struct Case {
    int passes;
    std::int64_t iterations_per_pass;
  };
  const Case cases[] = {{1, 0}, {399, 0}, {400, 0}, {10'000, 0}, {100, 4000}, {3, 22000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.passes);
    FakeClock clock;
    PaceModel pace(clock);
    const std::int64_t start = clock.now;
    for (int i = 0; i < c.passes; ++i) {
      pace.Iterations(c.iterations_per_pass);
      pace.Pass();
    }
    const std::int64_t nominal = c.passes * (20 + c.iterations_per_pass);
    EXPECT_EQ(pace.NominalMicros() - start, nominal);
    // Never ahead of real time by a sleep's worth, never behind it.
    EXPECT_LE(clock.now - start, nominal);
    EXPECT_LT(nominal - (clock.now - start), PaceModel::kSleepAheadMicros);
  }
}

TEST(Pace, SleepsInFewLongNapsAndPresentsAtMostOnceAFrame) {
  FakeClock clock;
  PaceModel pace(clock);
  for (int i = 0; i < 50'000; ++i) pace.Pass();  // one second nominal
  EXPECT_EQ(clock.sleeps, 1'000'000 / PaceModel::kSleepAheadMicros);
  EXPECT_LE(clock.frames, 1'000'000 / PaceModel::kFrameMicros + 1);
  EXPECT_GE(clock.frames, 1'000'000 / PaceModel::kFrameMicros / 2);
}

TEST(Pace, InputCutsASleepShort) {
  FakeClock clock;
  PaceModel pace(clock);
  clock.input_at = clock.now + 3'000;
  pace.Iterations(65'534'000);  // a hand-edited speed level's delay, all at once
  EXPECT_EQ(clock.now, *clock.input_at);
  EXPECT_EQ(clock.sleeps, 1);
}

TEST(Pace, AStallIsForgivenNotCaughtUpInABurst) {
  FakeClock clock;
  PaceModel pace(clock);
  for (int i = 0; i < 1000; ++i) pace.Pass();
  clock.now += 5'000'000;  // the machine was busy elsewhere for five seconds
  pace.Pass();
  const int sleeps_before = clock.sleeps;
  const std::int64_t after_stall = clock.now;
  for (int i = 0; i < 1000; ++i) pace.Pass();
  // The next 20 ms of passes are paced as usual, not run flat out.
  EXPECT_GT(clock.sleeps, sleeps_before);
  EXPECT_GT(clock.now - after_stall, 20'000 - PaceModel::kSleepAheadMicros);

  // A short lag, by contrast, is made up without sleeping.
  FakeClock lagging;
  PaceModel caught_up(lagging);
  lagging.now += 50'000;
  for (int i = 0; i < 2500; ++i) caught_up.Pass();
  EXPECT_EQ(lagging.sleeps, 0);
}

}  // namespace
}  // namespace mofu
