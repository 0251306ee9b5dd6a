#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tests/gif_writer.hpp"
#include "tests/harness.hpp"

namespace mofu::test {
namespace {

float Below(float tenth) { return std::nextafter(tenth, 0.0f); }

// Pass 1 draws the first height (0.01: the sprite starts at top 70), a star
// and an eraser, and skips the sprite; each later pass runs one sprite step
// with the draws given.
std::vector<float> Passes(const std::vector<std::vector<float>>& sprite_steps) {
  std::vector<float> draws = {0.01f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
  for (const auto& step : sprite_steps) {
    draws.push_back(0.7f);  // the gate's 7
    draws.insert(draws.end(), step.begin(), step.end());
  }
  return draws;
}

class Sprite : public HostTest {
 protected:
  struct Seen {
    float left, top, width;
    Int16 pose;
    std::int64_t micros;  // the step's nominal time
  };
  // Runs the scripted passes; `before` may set the sprite up at the first yield.
  std::vector<Seen> Run(const std::vector<std::vector<float>>& steps,
                        std::function<void(Form1&)> before = {}) {
    for (float d : Passes(steps)) fake().random.script.push_back(d);
    std::vector<Seen> seen;
    std::int64_t last = 0;
    fake().on_yield = [&](int pass) {
      Form1& f = Form1::Instance();
      if (pass == 1 && before) before(f);
      const std::int64_t now = f.Window().NominalMicros();
      if (pass > 1) {
        seen.push_back({f.Picture1().Left(), f.Picture1().Top(), f.Picture1().Width(), f.PoseFlag,
                        now - last});
      }
      last = now;
    };
    fake().KeyAtYield(static_cast<int>(steps.size()) + 1);
    RunSaver();
    // Every scripted draw was consumed, and not one more.
    EXPECT_TRUE(fake().random.script.empty());
    EXPECT_EQ(fake().random.drawn, static_cast<int>(Passes(steps).size()));
    return seen;
  }
};

TEST_F(Sprite, MovesOneUnitLeftEverySeventhStepAndKeepsCountingAcrossWraps) {
  const std::vector<float> quiet = {0.5f, 0.5f};  // no drift, no pose change
  const auto seen = Run(std::vector<std::vector<float>>(15, quiet));
  std::vector<float> lefts;
  for (const Seen& s : seen) lefts.push_back(s.left);
  EXPECT_EQ(lefts, (std::vector<float>{2019, 2019, 2019, 2019, 2019, 2019, 2019, 2018, 2018, 2018,
                                       2018, 2018, 2018, 2018, 2017}));
  for (const Seen& s : seen) EXPECT_EQ(s.top, 70);
}

TEST_F(Sprite, WrapsOnlyOnceItsRightEdgeHasPassedTheLeftEdge) {
  struct Case {
    const char* name;
    Int32 sprite_left;  // before the step; the target is one less
    std::vector<float> draws;
    float left, top;
    Int16 pace;
  };
  const Case cases[] = {
      {"sum 0 stays", -57, {0.5f, 0.5f}, -58, 70, 200},
      {"sum -1 wraps, fast", -58, {0.0f, 0.01f, 0.5f, 0.5f}, 2120, 70, 100},
      {"drift replaces the wrap height", -58, {0.5f, 0.5f, 0.7f, 0.9f, 0.5f}, 2120, 71, 200},
      {"drift up", 100, {0.7f, 0.1f, 0.5f}, 99, 69, 200},
      {"pose draws b and c only after a >= 6", 100, {0.5f, 0.6f, 0.5f, 0.9f}, 99, 70, 200},
      // Each roll's edges: just below and at the tenth that decides it.
      {"d at 0.1 is not fast, wraps at mid height", -58, {0.1f, 0.5f, 0.5f, 0.5f}, 2120, 500, 200},
      {"drift roll just below 0.7 is no drift", 100, {Below(0.7f), 0.5f}, 99, 70, 200},
      {"drift at 0.2 stays", 100, {0.7f, 0.2f, 0.5f}, 99, 70, 200},
      {"pose a just below 0.6 draws no more", 100, {0.5f, Below(0.6f)}, 99, 70, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    const auto seen = Run({c.draws}, [&](Form1& f) { f.SpriteLeft = c.sprite_left; });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].left, c.left);
    EXPECT_EQ(seen[0].top, c.top);
    EXPECT_EQ(Form1::Instance().Loop().Pace, c.pace);
  }
}

TEST_F(Sprite, PoseAlternatesStartingWithTheSecondPicture) {
  const auto folder = std::filesystem::path(MOFU_TEST_DATA) / "poses";
  std::filesystem::create_directories(folder);
  WriteTinyGif((folder / "neko1.gif").string(), 20, 10, 200, 100, 50);
  WriteTinyGif((folder / "neko2.gif").string(), 30, 12, 50, 100, 200);
  fake().picture_folder = folder.string();
  const std::vector<float> change = {0.5f, 0.6f, 0.7f, 0.9f};
  std::vector<std::pair<Int16, float>> poses;
  for (const Seen& s : Run({change, {0.5f, 0.5f}, change, change}))
    poses.push_back({s.pose, s.width});
  EXPECT_EQ(poses, (std::vector<std::pair<Int16, float>>{{1, 30}, {1, 30}, {0, 20}, {1, 30}}));
  EXPECT_EQ(Form1::Instance().Picture1().Height(), 12);
}

// A key during a long delay is Pace.InputCutsASleepShort's.
TEST_F(Sprite, DelayCostsSpeedLevelTimesPaceTimesTenMicroseconds) {
  for (auto [sspeed, iterations] : {std::pair{"11", 22000}, {"-3", 0}}) {
    Fresh();
    fake().settings.Put("sspeed", sspeed);
    EXPECT_EQ(Run({{0.5f, 0.5f}}).at(0).micros, 20 + iterations) << sspeed;
  }
}

}  // namespace
}  // namespace mofu::test
