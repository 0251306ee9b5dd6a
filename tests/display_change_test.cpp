#include "tests/harness.hpp"

namespace mofu::test {
namespace {

class DisplayChange : public HostTest {};

// Monitors come and go while the saver runs: the sky takes the new size at
// once, a star can land anywhere on it, and the saver still ends on a key.
TEST_F(DisplayChange, TheSkyTakesTheNewSizeOfTheScreen) {
  struct Case {
    const char* name;
    int width, height;
  };
  const Case cases[] = {
      {"a second monitor to the right", 3840, 1080},
      {"a second monitor below", 1920, 2160},
      {"down to a small one", 800, 600},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    // Every draw 0.5: the star of pass 21 lands in the middle of the screen
    // (palette colour 8) and stays until the eraser of pass 37 comes there.
    int sky_width = 0, sky_height = 0;
    std::uint8_t middle = 255;
    fake().on_yield = [&](int pass) {
      if (pass == 5) {
        fake().screen_width = c.width;
        fake().screen_height = c.height;
      }
      if (pass == 30) {
        const Canvas& sky = Form1::Instance().Window().Sky();
        sky_width = sky.Width();
        sky_height = sky.Height();
        if (sky_width == c.width && sky_height == c.height) {
          middle = sky.At(c.width / 2, c.height / 2);
        }
      }
    };
    fake().InputAtYield(5, {InputEvent::Kind::kResized});
    fake().KeyAtYield(31);
    RunSaver();
    EXPECT_EQ(sky_width, c.width);
    EXPECT_EQ(sky_height, c.height);
    EXPECT_EQ(middle, 8);
    EXPECT_EQ(fake().yields, 31);
  }
}

}  // namespace
}  // namespace mofu::test
