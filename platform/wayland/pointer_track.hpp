#pragma once

#include "platform/wayland/sky_geometry.hpp"
#include "runtime/rect.hpp"
#include "runtime/sky_surface.hpp"

namespace mofu::wayland {

// The pointer and touch events of the saver's surfaces, in sky coordinates.
// A Wayland client learns where the pointer is from the enter event when its
// surface appears under it (no motion comes first), so the enter position is
// reported as any position is: the saver takes the first one it sees as the
// reference that later movement is measured from.
class PointerTrack {
 public:
  PointerTrack(const SkyGeometry& geometry, SkyInput& input) : geometry_(geometry), input_(input) {}

  // `output` is the logical rectangle of the output the surface covers.
  void Enter(const Rect& output, double local_x, double local_y);
  void Leave() { inside_ = false; }
  void Motion(double local_x, double local_y);
  // A button, a wheel step: a click where the pointer is.
  void Click();
  // A finger down: a click where it touches.
  void Touch(const Rect& output, double local_x, double local_y);

 private:
  void Report(const Rect& output, double local_x, double local_y);

  const SkyGeometry& geometry_;
  SkyInput& input_;
  Rect output_;
  bool inside_ = false;
  double x_ = 0;
  double y_ = 0;
};

}  // namespace mofu::wayland
