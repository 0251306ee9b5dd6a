#include "runtime/services.hpp"
#include "tests/harness.hpp"

namespace mofu::test {
namespace {

class SaverWindow : public HostTest {};

// The system's own blanker is suspended while the saver runs and left as it
// was found; the pointer comes back; the sky is on top before it shows.
TEST_F(SaverWindow, PutsBackTheScreenSaverSettingItFound) {
  for (const std::int32_t found : {1, 0}) {
    SCOPED_TRACE(found);
    Fresh();
    fake().saver_active = found;
    fake().on_yield = [&](int) { EXPECT_NE(fake().saver_active, 0); };
    fake().KeyAtYield(1);
    RunSaver();
    EXPECT_EQ(fake().saver_active, found);
    EXPECT_FALSE(fake().pointer_hidden);
    const auto& log = fake().log;
    EXPECT_LT(std::find(log.begin(), log.end(), "topmost"),
              std::find(log.begin(), log.end(), "show"));
  }
}

TEST_F(SaverWindow, AMissingPosePictureIsCaughtEveryTimeAndTheLoopGoesOn) {
  fake().settings.Put("blk", "120");
  fake().saver_active = 0;
  // Two passes that each try a pose change and fail, then a quiet one.
  Script({0.01f,                         // first height
          0.5f, 0.5f, 0.5f, 0.5f, 0.5f,  // star, eraser
          0.7f, 0.5f, 0.6f, 0.7f, 0.9f,  // sprite step with a pose change
          0.7f, 0.5f, 0.6f, 0.7f, 0.9f,  // resumed: the same again
          0.5f});                        // resumed again: no sprite step
  fake().KeyAtYield(1);
  RunSaver();

  Form1& form = Form1::Instance();
  EXPECT_EQ(BlkWidth, 40);
  EXPECT_EQ(form.PoseFlag, 0);  // the same picture is tried again next time
  // The counters carried on across both recoveries.
  EXPECT_EQ(form.Loop().StarTick, 3);
  EXPECT_EQ(form.Loop().BlkTick, 3);
  EXPECT_EQ(form.Loop().StepTick, 2);
  EXPECT_EQ(std::count(fake().log.begin(), fake().log.end(), "blanker suspended"), 3);
  // Hidden three times, shown once: the pointer's count is two below zero,
  // so one more show leaves it hidden.
  EXPECT_TRUE(fake().pointer_hidden);
  EXPECT_EQ(ShowCursor(kTrue), -1);
  EXPECT_TRUE(fake().unhandled_errors.empty());
}

}  // namespace
}  // namespace mofu::test
