#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/wayland/sky_geometry.hpp"
#include "runtime/recorded_input.hpp"

namespace mofu::wayland {
namespace {

TEST(WaylandSkyGeometry, EachOutputAtItsOwnDevicePixels) {
  struct Case {
    const char* name;
    std::vector<OutputPlace> outputs;
    int width, height;
    std::vector<Rect> sky_rects;  // one per output
  };
  const Case cases[] = {
      {"side by side, different heights",
       {{{0, 0, 1280, 720}, 1}, {{1280, 0, 2304, 768}, 1}},
       2304,
       768,
       {{0, 0, 1280, 720}, {1280, 0, 2304, 768}}},
      {"the sky starts where the outputs do, not at the origin",
       {{{-1024, 100, 0, 868}, 1}, {{0, 0, 1280, 720}, 1}},
       2304,
       868,
       {{0, 100, 1024, 868}, {1024, 0, 2304, 720}}},
      {"a gap between outputs is sky nobody sees",
       {{{0, 0, 100, 100}, 1}, {{200, 0, 300, 100}, 1}},
       300,
       100,
       {{0, 0, 100, 100}, {200, 0, 300, 100}}},
      {"scale 2 alone is its mode", {{{0, 0, 512, 384}, 2}}, 1024, 768, {{0, 0, 1024, 768}}},
      // A laptop at scale 2 (1280x720) left of a monitor at scale 1: both at
      // their modes, side by side, as at one scale.
      {"scale 2 beside scale 1",
       {{{0, 0, 640, 360}, 2}, {{640, 0, 1664, 768}, 1}},
       2304,
       768,
       {{0, 0, 1280, 720}, {1280, 0, 2304, 768}}},
      {"scale 1 above scale 2 stacks without overlap",
       {{{0, 0, 1024, 768}, 1}, {{0, 768, 640, 1128}, 2}},
       1280,
       1488,
       {{0, 0, 1024, 768}, {0, 768, 1280, 1488}}},
      {"an output of no size is left out",
       {{{0, 0, 0, 0}, 3}, {{10, 10, 110, 60}, 1}},
       100,
       50,
       {{}, {0, 0, 100, 50}}},
      {"no outputs: no sky", {}, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SkyGeometry geometry(c.outputs);
    EXPECT_EQ(geometry.Width(), c.width);
    EXPECT_EQ(geometry.Height(), c.height);
    for (std::size_t i = 0; i < c.outputs.size(); ++i) {
      if (c.outputs[i].logical.Empty()) continue;
      EXPECT_EQ(geometry.PlaceOf(c.outputs[i]).rect, c.sky_rects[i]) << "output " << i;
    }
  }
}

using K = RecordedInput::Kind;
RecordedInput At(K kind, double x, double y) { return {kind, x, y}; }

TEST(WaylandInputTrack, OnlyMotionAwayFromTheReferenceMoves) {
  const SkyPlace left{{0, 0, 1280, 720}, 1};
  const SkyPlace right{{1280, 0, 2304, 768}, 2};  // logical 512x384
  using Step = std::function<void(InputTrack&)>;
  const auto enter = [](const SkyPlace& p, double x, double y) {
    return [=](InputTrack& t) { t.Enter(p, x, y); };
  };
  const auto move = [](double x, double y) { return [=](InputTrack& t) { t.Motion(x, y); }; };
  const Step leave = [](InputTrack& t) { t.Leave(); };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<RecordedInput> seen;
  };
  const Case cases[] = {
      {"the first enter is the reference", {enter(right, 10, 20)}, {At(K::kPointer, 1300, 40)}},
      {"motion before any enter is nobody's",
       {move(5, 5), enter(left, 10, 20)},
       {At(K::kPointer, 10, 20)}},
      {"motion is in device pixels of the entered output",
       {enter(right, 0, 0), move(1, 2)},
       {At(K::kPointer, 1280, 0), At(K::kPointer, 1282, 4)}},
      // Outputs changing under a still pointer: a leave and an enter
      // somewhere else in the sky, then motion that goes nowhere.
      {"a later enter moves nothing; motion continues from the reference",
       {enter(left, 100, 100), leave, enter(right, 50, 50), move(50, 50), move(51, 50)},
       {At(K::kPointer, 100, 100), At(K::kPointer, 100, 100), At(K::kPointer, 102, 100)}},
      {"a press alone is no click; a release completes it where the pointer is",
       {enter(left, 100, 100), [](InputTrack& t) { t.Button(true); },
        [](InputTrack& t) { t.Button(false); }},
       {At(K::kPointer, 100, 100), At(K::kButtonDown, 100, 100), At(K::kButtonUp, 100, 100)}},
      {"buttons go where the pointer really is, not where reports say",
       {enter(left, 100, 100), enter(left, 300, 300), [](InputTrack& t) { t.Button(true); }},
       {At(K::kPointer, 100, 100), At(K::kButtonDown, 300, 300)}},
      {"a touch is a press where it lands and a release where it lifts, and no reference",
       {[&](InputTrack& t) { t.TouchDown(right, 10, 10); },
        [](InputTrack& t) { t.TouchMotion(20, 10); }, [](InputTrack& t) { t.TouchUp(); }},
       {At(K::kButtonDown, 1300, 20), At(K::kButtonUp, 1320, 20)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InputRecorder seen;
    InputTrack track(seen);
    for (const Step& step : c.steps) step(track);
    EXPECT_EQ(seen.Events(), c.seen);
  }
}

}  // namespace
}  // namespace mofu::wayland
