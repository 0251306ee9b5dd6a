#pragma once

#include <map>
#include <vector>

#include "runtime/rect.hpp"
#include "runtime/sky_surface.hpp"

namespace mofu::wayland {

// An output as the compositor lays it out: its rectangle in the desktop's
// logical coordinates, and how many device pixels a logical one has.
struct OutputPlace {
  Rect logical;
  int scale = 1;
};

// Where an output's picture lies in the sky: its own device pixels.
struct SkyPlace {
  Rect rect;
  int scale = 1;
  // A point in the output's surface-local (logical) coordinates.
  double X(double local_x) const { return rect.left + local_x * scale; }
  double Y(double local_y) const { return rect.top + local_y * scale; }
};

// The sky is in device pixels, as a virtual desktop of mixed densities is:
// every output shows its own mode's pixels, so a star is one device pixel and
// the cat keeps its picture's size on each. Each axis of the logical layout
// is stretched piece by piece by the densest output over that piece, which
// keeps neighbours side by side without overlapping.
class SkyGeometry {
 public:
  SkyGeometry() = default;
  explicit SkyGeometry(const std::vector<OutputPlace>& outputs);

  int Width() const { return size_.right; }
  int Height() const { return size_.bottom; }
  SkyPlace PlaceOf(const OutputPlace& output) const;

 private:
  // Each logical edge of an output along one axis, in the sky.
  using Edges = std::map<int, int>;
  static Edges Stretch(const std::vector<OutputPlace>& outputs, bool vertical);

  Edges xs_, ys_;
  Rect size_;
};

// The seats' input to the saver's surfaces, in sky pixels. The first
// pointer position the saver hears is its reference; a later enter (the
// surface appearing under the pointer, outputs changing under it) is no
// movement, so positions are reported shifted to continue from the last one
// reported, and only motion away from there moves. Buttons and touches are
// reported where they really are, for what they land on.
class InputTrack {
 public:
  explicit InputTrack(SkyInput& input) : input_(input) {}

  void Enter(const SkyPlace& place, double local_x, double local_y);
  void Leave() { inside_ = false; }
  void Motion(double local_x, double local_y);
  void Button(bool pressed);
  void TouchDown(const SkyPlace& place, double local_x, double local_y);
  void TouchMotion(double local_x, double local_y);
  void TouchUp() { input_.ButtonUp(touch_x_, touch_y_); }
  void Key(std::int16_t key_code, std::int16_t shift, std::int16_t character) {
    input_.KeyDown(key_code, shift, character);
  }
  // Set when a surface mapped later took the keyboard; the reader clears it.
  bool keyboard_lost = false;

 private:
  SkyInput& input_;
  SkyPlace place_, touch_place_;
  bool inside_ = false;
  bool reported_ = false;
  double x_ = 0, y_ = 0;                // where the pointer is
  double offset_x_ = 0, offset_y_ = 0;  // what reports add to it
  double touch_x_ = 0, touch_y_ = 0;
};

}  // namespace mofu::wayland
