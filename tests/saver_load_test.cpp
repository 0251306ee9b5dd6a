#include "platform/services.hpp"
#include "tests/harness.hpp"

namespace mofu::test {
namespace {

class SaverWindow : public HostTest {};

TEST_F(SaverWindow, PreparesInOrderAndPutsBackTheScreenSaverSettingItFound) {
  for (const std::int32_t found : {1, 0}) {
    SCOPED_TRACE(found);
    Fresh();
    fake().saver_active = found;
    Script({0.01f});  // the sprite's first height
    fake().KeyAtYield(1);
    RunSaver();

    const std::vector<std::string> expected = {
        "create window",
        "topmost",  // topmost before it is first shown
        "show",
        "read sspeed",
        "read blk",
        "blanker read",
        "blanker suspended",
        "pointer hidden",
        "hide",
        found ? "blanker suspended" : "blanker restored",
        "pointer shown",
    };
    EXPECT_EQ(fake().log, expected);
    EXPECT_EQ(fake().saver_active, found);
    EXPECT_FALSE(fake().pointer_hidden);

    Form1& form = Form1::Instance();
    EXPECT_EQ(form.SpriteLeft, 1920 + 100);
    EXPECT_EQ(form.SpriteTop, 10 - 40 + 100);  // 0.01 x 1080 - 40 < 0, so +100
    EXPECT_EQ(form.Picture1().Left(), 1920.0f);
    EXPECT_EQ(form.Loop().Pace, 200);
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
