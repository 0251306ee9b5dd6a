#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "tests/gif_writer.hpp"
#include "tests/harness.hpp"

namespace mofu::test {
namespace {

class CatFrames : public HostTest {};

// Frames follow the cat: every present that shows it elsewhere shows it one
// pixel on, as long as its steps come no faster than the display refreshes
// (slower than sspeed 2 at a normal crossing's pace). Faster, a present
// carries the steps since the last refresh: two on average on a fast
// crossing at sspeed 1 at 60 Hz, three where the loop's random looks bunch
// them, never more. A present that moves the cat goes out when real time
// reaches the step, not a frame later.
TEST_F(CatFrames, EachStepIsShownOnItsOwnWhenItHappens) {
  struct Run {
    int speed;
    bool fast;           // a fast crossing (pace 100) from the first step
    std::uint32_t seed;  // of the draws; with this one the crossing comes out fast
  };
  const Run runs[] = {{1, false, 12345}, {1, true, 4},      {2, false, 12345},
                      {4, false, 12345}, {7, false, 12345}, {11, false, 12345}};
  for (const auto& [speed, fast, seed] : runs) {
    SCOPED_TRACE(testing::Message() << "sspeed " << speed << (fast ? ", fast crossing" : ""));
    Fresh();
    fake().settings.Put("sspeed", std::to_string(speed));
    // Both poses there, so no pose change fails and refreshes the window.
    fake().picture_folder = (std::filesystem::path(MOFU_TEST_DATA) / "cat-frames").string();
    std::filesystem::create_directories(fake().picture_folder);
    for (const char* name : {"neko1.gif", "neko2.gif"})
      WriteTinyGif(fake().picture_folder + "/" + name, 58, 40, 200, 100, 50);
    // A long run of well-spread draws (a fixed generator, so the run is the
    // same every time); the first is the sprite's height.
    std::uint32_t state = seed;
    for (int i = 0; i < 400'000; ++i) {
      state = state * 1664525u + 1013904223u;
      fake().random.script.push_back(static_cast<float>(state >> 8) / 16777216.0f);
    }
    std::map<int, int> moved_by;  // pixels per present that moved the cat
    int off_time = 0;             // presents that moved it, not when it stepped
    Rect shown{};                 // where the last present showed the box
    Rect walked{};                // where it stood at the last look
    std::int64_t previous_nominal = 0;
    std::int64_t step_at = -1;  // the first move not yet shown
    std::int64_t end_at = -1;
    // The walk is what is judged; drifts up and down, which can come a few
    // milliseconds apart, go out with the next frame. A step seen now was
    // made in this pass, at the last yield's nominal time: nothing between
    // a yield and the sprite's step costs any.
    const auto look = [&] {
      const Rect box = Form1::Instance().Picture1().Bounds();
      if (box.left != walked.left && step_at < 0) step_at = previous_nominal;
      walked = box;
    };
    fake().on_yield = [&](int pass) {
      Form1& form = Form1::Instance();
      if (pass == 1) {
        form.SpriteLeft = 1000;  // on screen from the first step
        // Off the left edge: the first step starts a crossing.
        if (fast) form.SpriteLeft = NextLeft = -1000;
        shown = walked = form.Picture1().Bounds();
        end_at = fake().now_micros + 8'000'000;
      }
      look();
      previous_nominal = form.Window().NominalMicros();
      if (fake().now_micros >= end_at) EndFlag = kTrue;
    };
    fake().on_present = [&] {
      if (end_at < 0) return;
      Form1& form = Form1::Instance();
      look();
      const Rect box = walked;
      const int pixels = std::abs(box.left - shown.left);
      // Steps off the screen (walking in) show nothing and are not judged.
      const bool on_screen = shown.left < fake().screen_width;
      shown = box;
      if (pixels > 0 && pixels < 100 && on_screen) {
        ++moved_by[form.Loop().Pace * speed >= 400 ? pixels : -pixels];
        const std::int64_t late = fake().now_micros - step_at;
        if (late < 0 || late > PaceModel::kRefreshMicros + 40) ++off_time;
      }
      step_at = -1;
    };
    RunSaver();
    if (fast) {
      EXPECT_EQ(Form1::Instance().Loop().Pace, 100);
    }
    // Keys: pixels moved at a pace below the refresh rate; negative, above it.
    int slow_other = 0;
    int fast_beyond_three = 0;
    int moving = 0;
    for (const auto& [pixels, count] : moved_by) {
      moving += count;
      if (pixels > 1) slow_other += count;
      if (pixels < -3) fast_beyond_three += count;
    }
    EXPECT_GT(moving, 40);
    EXPECT_EQ(slow_other, 0);
    EXPECT_EQ(fast_beyond_three, 0);
    EXPECT_EQ(off_time, 0);
  }
}

}  // namespace
}  // namespace mofu::test
