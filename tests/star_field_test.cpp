#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/harness.hpp"

namespace mofu::test {
namespace {

float Below(float f) { return std::nextafter(f, 0.0f); }

class StarField : public HostTest {};

// A digit is the draw times ten, cut in single precision: a tenth gives its
// digit, the float just below it the digit before.
TEST_F(StarField, DigitsAreCutAtEveryTenth) {
  const std::pair<float, int> rows[] = {{0.0f, 0},        {0.7f, 7}, {Below(0.7f), 6},
                                        {Below(1.0f), 9}, {0.3f, 3}, {Below(0.3f), 2}};
  for (const auto& [draw, digit] : rows) {
    SCOPED_TRACE(testing::Message() << "draw " << draw);
    Script({draw});
    EXPECT_EQ(RandomDigit(), digit);
  }
}

// The sprite gate opens on a 7 only: one sprite step draws two more numbers.
TEST_F(StarField, TheSpriteGateOpensOnSevenOnly) {
  struct Case {
    float gate;
    bool steps;
  };
  const Case cases[] = {{0.7f, true}, {0.8f, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "gate " << c.gate);
    Fresh();
    Script({0.01f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, c.gate, 0.5f, 0.5f});
    fake().KeyAtYield(1);
    RunSaver();
    EXPECT_EQ(Form1::Instance().Loop().StepTick, c.steps ? 1 : 0);
    EXPECT_EQ(fake().random.drawn, c.steps ? 9 : 7);
  }
}

// Stars stay one pixel and eraser dots stay as wide as the setting on every
// pass, not only on the first. Each eraser dot lands just under half its
// width to the right of the last star, so only a dot of the full width
// covers it.
TEST_F(StarField, WidthsHoldOnEveryPass) {
  for (const char* blk : {"120"}) {
    SCOPED_TRACE(blk);
    Fresh();
    fake().settings.Put("blk", blk);
    const int reach = std::atoi(blk) / 2 - 1;
    const float eraser_x = (960.5f + static_cast<float>(reach)) / 1920.0f;
    Script({0.5f});  // the sprite's first height, drawn on loading
    for (int pass = 1; pass <= 60; ++pass) {
      if ((pass - 1) % 20 == 0) Script({0.5f, 0.5f, 0.5f});  // star at (960, 540), colour 8
      if ((pass - 1) % 18 == 0) Script({eraser_x, 0.5f});
      Script({0.5f});  // no sprite step
    }
    std::vector<std::string> wrong;
    fake().on_yield = [&](int pass) {
      const Canvas& sky = Form1::Instance().Window().Sky();
      // Stars at 1, 21 and 41; erasers at 1, 19, 37 and 55.
      const bool lit = (pass >= 21 && pass < 37) || (pass >= 41 && pass < 55);
      const std::uint8_t want = lit ? 8 : 0;
      if (sky.At(960, 540) != want) wrong.push_back("centre at pass " + std::to_string(pass));
      if (sky.At(959, 540) != 0 || sky.At(961, 540) != 0 || sky.At(960, 539) != 0 ||
          sky.At(960, 541) != 0) {
        wrong.push_back("star wider than a pixel at pass " + std::to_string(pass));
      }
    };
    fake().KeyAtYield(60);
    RunSaver();
    EXPECT_EQ(wrong, std::vector<std::string>{});
    EXPECT_TRUE(fake().random.script.empty());
  }
}

TEST_F(StarField, DrawsWhereAndInTheColourTheDrawsSay) {
  struct Case {
    int screen_w, screen_h;
    float sx, sy, sk;  // star position and colour draws
    float ex, ey;      // eraser position draws
    const char* blk;
    int star_x, star_y, colour;
    bool star_survives;
  };
  const Case cases[] = {
      {1920, 1080, 0.5f, 0.5f, 0.5f, 0.1f, 0.1f, "40", 960, 540, 8, true},
      // Draws of 1 still land on the sky, in the last colour.
      {1920, 1080, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, "10", 1919, 1079, 15, true},
      // The first pass's eraser lands on its star and wipes it out.
      {1920, 1080, 0.5f, 0.5f, 0.2f, 0.5f, 0.5f, "10", 960, 540, 4, false},
      // A dense display: the far corner of the screen is reachable too.
      {3840, 2160, 0.9999f, 0.9999f, 0.5f, 0.0f, 0.0f, "10", 3839, 2159, 8, true},
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
    EXPECT_EQ(seen, c.star_survives ? c.colour : 0);
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
