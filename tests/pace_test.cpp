#include "runtime/pace.hpp"

#include <gtest/gtest.h>

#include <algorithm>
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
    // A timer that ticks by itself ends a wait at its next tick, which may
    // come before the deadline.
    const std::int64_t tick_at = tick > 0 ? (now / tick + 1) * tick : deadline;
    now = std::max(now, std::min(deadline, tick_at));
    return false;
  }
  void PresentFrame() override {
    ++frames;
    most_steps = std::max(most_steps, steps);
    steps = 0;
  }

  std::int64_t now = 1'000'000;
  std::optional<std::int64_t> input_at;
  std::int64_t tick = 0;
  int sleeps = 0;
  int frames = 0;
  int steps = 0;  // steps of the cat since the last present, as the test counts them
  int most_steps = 0;
};

TEST(Pace, NominalTimeIsExactAndRealTimeFollowsIt) {
  struct Case {
    int passes;
    std::int64_t iterations_per_pass;
  };
  const Case cases[] = {{1, 0}, {399, 0}, {400, 0}, {10'000, 0}, {3, 22000}};
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
    EXPECT_LT(nominal - (clock.now - start), PaceModel::kFrameMicros);
  }
}

// The saver's loop at sspeed 1: a look at the sprite every tenth pass, each
// followed by its delay, and a step of the cat on screen every seventh look,
// so one step every 15.4 ms at a normal crossing's pace (200) and every
// 8.4 ms at a fast one's (100). Faster than the display refreshes, a present
// carries as many steps as that takes, and no more; the cat never falls
// behind its nominal time for the sake of the refresh.
TEST(Pace, TheCatKeepsItsPaceAtEveryRefreshRate) {
  struct Case {
    int hertz;
    std::int64_t pace;
    int most_steps;  // in one present, at that rate
  };
  const Case cases[] = {{30, 200, 3}, {30, 100, 4},  {60, 200, 2},
                        {60, 100, 2}, {144, 200, 1}, {144, 100, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.hertz << " Hz, pace " << c.pace);
    FakeClock clock;
    PaceModel pace(clock, PaceModel::kFrameMicros, 1'000'000 / c.hertz);
    const std::int64_t start = clock.now;
    std::int64_t nominal = 0;
    for (int pass = 1; nominal < 10'000'000; ++pass) {
      if (pass % 10 == 0) {
        if (pass % 70 == 0) {
          pace.Stepped();
          ++clock.steps;
        }
        for (std::int64_t done = 0; done < c.pace * 10; done += 1000) pace.Iterations(1000);
        nominal += c.pace * 10;
      }
      pace.Pass();
      nominal += PaceModel::kPassMicros;
    }
    const std::int64_t real = clock.now - start;
    EXPECT_NEAR(static_cast<double>(real), static_cast<double>(nominal), nominal * 0.02);
    EXPECT_LE(clock.most_steps, c.most_steps);
    EXPECT_LE(clock.frames, c.hertz * 10 + 1);
  }
}

TEST(Pace, SleepsInFewLongNapsAndPresentsAtMostOnceAFrame) {
  // The saver's frame time, and shorter and longer ones.
  const std::int64_t frame_times[] = {PaceModel::kFrameMicros, 32'000, 16'000, 100'000};
  for (const std::int64_t frame : frame_times) {
    SCOPED_TRACE(frame);
    FakeClock clock;
    PaceModel pace(clock, frame);
    const std::int64_t start = clock.now;
    for (int i = 0; i < 50'000; ++i) pace.Pass();  // one second nominal
    EXPECT_EQ(clock.sleeps, 1'000'000 / frame);
    EXPECT_LE(clock.frames, 1'000'000 / frame + 1);
    EXPECT_GE(clock.frames, 1'000'000 / frame / 2);
    EXPECT_LT(1'000'000 - (clock.now - start), frame);
  }
}

// A wait that a frame timer ends before the deadline (the Windows build's
// ticking timer) neither speeds the loop up nor lets it fall behind: the
// model runs on and waits again, once a tick.
TEST(Pace, WaitsThatEndAtATickKeepThePace) {
  const std::int64_t ticks[] = {PaceModel::kFrameMicros, 1'000, 7'919, PaceModel::kFrameMicros * 3};
  for (const std::int64_t tick : ticks) {
    SCOPED_TRACE(tick);
    FakeClock clock;
    clock.tick = tick;
    PaceModel pace(clock);
    const std::int64_t start = clock.now;
    for (int i = 0; i < 10; ++i) {
      for (int j = 0; j < 4'000; ++j) pace.Pass();  // 80 ms nominal
      pace.Iterations(20'000);                      // a slow step's delay, all at once
      const std::int64_t nominal = pace.NominalMicros() - start;
      EXPECT_LE(clock.now - start, nominal);
      EXPECT_LT(nominal - (clock.now - start), PaceModel::kFrameMicros);
    }
    // A wait a tick at most, or a wait a sleep's worth where ticks are rarer.
    EXPECT_LE(clock.sleeps, 1'000'000 / std::min(tick, PaceModel::kFrameMicros) + 11);
    EXPECT_LE(clock.frames, 1'000'000 / PaceModel::kFrameMicros + 1);
  }
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
  for (int i = 0; i < 5000; ++i) pace.Pass();
  // The next 100 ms of passes are paced as usual, not run flat out.
  EXPECT_GT(clock.sleeps, sleeps_before);
  EXPECT_GT(clock.now - after_stall, 100'000 - PaceModel::kFrameMicros);

  // A short lag, by contrast, is made up without sleeping.
  FakeClock lagging;
  PaceModel caught_up(lagging);
  lagging.now += 50'000;
  for (int i = 0; i < 2500; ++i) caught_up.Pass();
  EXPECT_EQ(lagging.sleeps, 0);
}

}  // namespace
}  // namespace mofu
