#include <string>
#include <vector>

#include "tests/harness.hpp"

namespace mofu::test {
namespace {

class StarField : public HostTest {};

// The sprite gate opens on a 7 only: one sprite step draws two more numbers.
// A digit is the draw times ten cut in single precision (the roll's edges
// are the sprite's rows).
TEST_F(StarField, TheSpriteGateOpensOnSevenOnly) {
  for (auto [gate, steps] : {std::pair{0.7f, 1}, {0.8f, 0}}) {
    Fresh();
    Script({0.01f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, gate, 0.5f, 0.5f});
    fake().KeyAtYield(1);
    RunSaver();
    EXPECT_EQ(Form1::Instance().Loop().StepTick, steps) << gate;
    EXPECT_EQ(fake().random.drawn, 7 + 2 * steps) << gate;
  }
}

// Stars stay one pixel and eraser dots stay as wide as the setting on every
// pass, not only on the first. Each eraser dot lands just under half its
// width to the right of the last star, so only a dot of the full width
// covers it. Stars come at passes 1, 21 and 41; erasers at 1, 19, 37, 55.
TEST_F(StarField, WidthsHoldOnEveryPass) {
  fake().settings.Put("blk", "120");
  Script({0.5f});  // the sprite's first height, drawn on loading
  for (int pass = 1; pass <= 60; ++pass) {
    if ((pass - 1) % 20 == 0) Script({0.5f, 0.5f, 0.5f});  // star at (960, 540), colour 8
    if ((pass - 1) % 18 == 0) Script({(960.5f + 59) / 1920.0f, 0.5f});
    Script({0.5f});  // no sprite step
  }
  std::string wrong;
  fake().on_yield = [&](int pass) {
    const Canvas& sky = Form1::Instance().Window().Sky();
    const bool lit = (pass >= 21 && pass < 37) || (pass >= 41 && pass < 55);
    if (sky.At(960, 540) != (lit ? 8 : 0) || sky.At(959, 540) || sky.At(961, 540) ||
        sky.At(960, 539) || sky.At(960, 541)) {
      wrong += " " + std::to_string(pass);
    }
  };
  fake().KeyAtYield(60);
  RunSaver();
  EXPECT_EQ(wrong, "");
  EXPECT_TRUE(fake().random.script.empty());
}

TEST_F(StarField, DrawsWhereAndInTheColourTheDrawsSay) {
  struct Case {
    int screen_w, screen_h;
    float sx, sy, sk, ex, ey;  // star position and colour, eraser position
    const char* blk;
    int star_x, star_y, colour;  // 0: wiped out
  };
  const Case cases[] = {
      // Draws of 1 still land on the sky, in the last colour.
      {1920, 1080, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, "10", 1919, 1079, 15},
      // The first pass's eraser lands on its star and wipes it out.
      {1920, 1080, 0.5f, 0.5f, 0.2f, 0.5f, 0.5f, "10", 960, 540, 0},
      // A dense display: the far corner of the screen is reachable too.
      {3840, 2160, 0.9999f, 0.9999f, 0.5f, 0.0f, 0.0f, "10", 3839, 2159, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.star_x);
    Fresh();
    fake().screen_width = c.screen_w;
    fake().screen_height = c.screen_h;
    fake().settings.Put("blk", c.blk);
    Script({0.5f, c.sx, c.sy, c.sk, c.ex, c.ey, 0.5f});
    std::uint8_t seen = 255;
    fake().on_yield = [&](int) { seen = Form1::Instance().Window().Sky().At(c.star_x, c.star_y); };
    fake().KeyAtYield(1);
    RunSaver();
    EXPECT_EQ(seen, c.colour);
  }
}

TEST_F(StarField, EndingClearsHidesAndUnloadsOnTheSamePass) {
  fake().KeyAtYield(5);
  RunSaver();
  EXPECT_EQ(fake().yields, 5);
  EXPECT_FALSE(fake().window_visible);
  const Canvas& sky = Form1::Instance().Window().Sky();
  for (int y = 0; y < sky.Height(); y += 7) {
    for (int x = 0; x < sky.Width(); x += 7) ASSERT_EQ(sky.At(x, y), 0);
  }
}

}  // namespace
}  // namespace mofu::test
