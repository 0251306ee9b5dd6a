#include "tests/harness.hpp"

namespace mofu::test {
namespace {

class StarField : public HostTest {};

TEST_F(StarField, StarsEveryTwentyPassesErasersEveryEighteen) {
  std::vector<int> star_passes;
  std::vector<int> eraser_passes;
  fake().on_yield = [&](int pass) {
    const auto& loop = Form1::Instance().Loop();
    if (loop.StarTick == 1) star_passes.push_back(pass);
    if (loop.BlkTick == 1) eraser_passes.push_back(pass);
  };
  fake().KeyAtYield(60);
  RunSaver();
  EXPECT_EQ(star_passes, (std::vector<int>{1, 21, 41}));
  EXPECT_EQ(eraser_passes, (std::vector<int>{1, 19, 37, 55}));
  // Each pass draws one digit for the sprite gate; stars three draws, erasers two.
  EXPECT_EQ(fake().random.drawn, 1 + 60 + 3 * 3 + 4 * 2);
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
      {1920, 1080, 0.0f, 0.0f, 0.0f, 0.9f, 0.9f, "10", 0, 0, 1, true},
      {1920, 1080, 0.99999994f, 0.99999994f, 0.99999994f, 0.0f, 0.0f, "10", 1919, 1079, 15, true},
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
  int passes_after_key = 0;
  fake().on_yield = [&](int pass) {
    if (pass > 5) ++passes_after_key;
  };
  fake().KeyAtYield(5);
  RunSaver();
  EXPECT_EQ(passes_after_key, 0);
  EXPECT_EQ(fake().yields, 5);
  EXPECT_FALSE(fake().window_visible);
  const Canvas& sky = Form1::Instance().Window().Sky();
  for (int y = 0; y < sky.Height(); y += 7) {
    for (int x = 0; x < sky.Width(); x += 7) ASSERT_EQ(sky.At(x, y), 0);
  }
}

TEST_F(StarField, NextRandomNeverReachesOne) {
  Script({1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.5f});
  std::uint8_t corner = 0;
  fake().on_yield = [&](int) { corner = Form1::Instance().Window().Sky().At(1919, 1079); };
  fake().KeyAtYield(1);
  RunSaver();  // a draw of 1 would put a star at x = 1920, off the sky
  EXPECT_EQ(corner, 15);
}

}  // namespace
}  // namespace mofu::test
