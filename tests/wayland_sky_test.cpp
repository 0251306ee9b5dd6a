#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/wayland/pointer_track.hpp"
#include "platform/wayland/sky_geometry.hpp"
#include "runtime/recorded_input.hpp"

namespace mofu::wayland {
namespace {

TEST(WaylandSkyGeometry, OutputsToSkyRectangles) {
  struct Case {
    const char* name;
    std::vector<OutputPlace> outputs;
    int width, height;
    std::vector<Rect> sky_rects;  // one per output
  };
  const Case cases[] = {
      {"one output", {{{0, 0, 1920, 1080}, 1}}, 1920, 1080, {{0, 0, 1920, 1080}}},
      {"side by side, different heights",
       {{{0, 0, 1280, 720}, 1}, {{1280, 0, 2304, 768}, 1}},
       2304,
       768,
       {{0, 0, 1280, 720}, {1280, 0, 2304, 768}}},
      {"the box starts where the outputs do, not at the origin",
       {{{-1024, 100, 0, 868}, 1}, {{0, 0, 1280, 720}, 1}},
       2304,
       868,
       {{0, 100, 1024, 868}, {1024, 0, 2304, 720}}},
      {"a gap between outputs is sky nobody sees",
       {{{0, 0, 100, 100}, 1}, {{200, 0, 300, 100}, 1}},
       300,
       100,
       {{0, 0, 100, 100}, {200, 0, 300, 100}}},
      // A scale-2 output's logical 512x384 is 1024x768 device pixels: a sky
      // pixel is a device pixel of the densest output.
      {"scale 2 alone", {{{0, 0, 512, 384}, 2}}, 1024, 768, {{0, 0, 1024, 768}}},
      {"scale 1 beside scale 2",
       {{{0, 0, 1280, 720}, 1}, {{1280, 0, 1792, 384}, 2}},
       3584,
       1440,
       {{0, 0, 2560, 1440}, {2560, 0, 3584, 768}}},
      {"an output of no size is left out",
       {{{0, 0, 0, 0}, 3}, {{10, 10, 110, 60}, 1}},
       100,
       50,
       {{0, 0, 0, 0}, {0, 0, 100, 50}}},
      {"no outputs: no sky", {}, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SkyGeometry geometry(c.outputs);
    EXPECT_EQ(geometry.Width(), c.width);
    EXPECT_EQ(geometry.Height(), c.height);
    for (std::size_t i = 0; i < c.outputs.size(); ++i) {
      if (c.outputs[i].logical.Empty()) continue;
      EXPECT_EQ(geometry.SkyRectOf(c.outputs[i].logical), c.sky_rects[i]) << "output " << i;
    }
  }
}

using K = RecordedInput::Kind;
RecordedInput At(K kind, double x, double y) { return {kind, x, y}; }

TEST(WaylandPointerTrack, EnterIsTheFirstPositionAndEverythingIsInSkyPixels) {
  const Rect left{0, 0, 1280, 720};
  const Rect right{1280, 0, 1792, 384};
  using Step = std::function<void(PointerTrack&)>;
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<RecordedInput> seen;
  };
  const Case cases[] = {
      {"the enter position is reported: it is the reference",
       {[&](PointerTrack& t) { t.Enter(left, 10, 20); }},
       {At(K::kPointer, 20, 40)}},
      {"motion before any enter is nobody's",
       {[&](PointerTrack& t) { t.Motion(5, 5); }, [&](PointerTrack& t) { t.Enter(left, 10, 20); }},
       {At(K::kPointer, 20, 40)}},
      {"motion is relative to the entered output",
       {[&](PointerTrack& t) { t.Enter(right, 0, 0); }, [&](PointerTrack& t) { t.Motion(1, 2); }},
       {At(K::kPointer, 2560, 0), At(K::kPointer, 2562, 4)}},
      {"crossing to the other output is movement",
       {[&](PointerTrack& t) { t.Enter(left, 1279, 100); }, [&](PointerTrack& t) { t.Leave(); },
        [&](PointerTrack& t) { t.Motion(3, 3); }, [&](PointerTrack& t) { t.Enter(right, 0, 50); }},
       {At(K::kPointer, 2558, 200), At(K::kPointer, 2560, 100)}},
      {"a button or wheel is a click where the pointer is",
       {[&](PointerTrack& t) { t.Enter(left, 100, 100); }, [&](PointerTrack& t) { t.Click(); }},
       {At(K::kPointer, 200, 200), At(K::kButtonDown, 200, 200), At(K::kButtonUp, 200, 200)}},
      {"a touch is a click where the finger is, and no reference",
       {[&](PointerTrack& t) { t.Touch(right, 10, 10); }},
       {At(K::kButtonDown, 2580, 20), At(K::kButtonUp, 2580, 20)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SkyGeometry geometry({{left, 1}, {right, 2}});
    InputRecorder seen;
    PointerTrack track(geometry, seen);
    for (const Step& step : c.steps) step(track);
    EXPECT_EQ(seen.Events(), c.seen);
  }
}

}  // namespace
}  // namespace mofu::wayland
