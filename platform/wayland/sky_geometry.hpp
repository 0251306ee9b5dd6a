#pragma once

#include <vector>

#include "runtime/rect.hpp"

namespace mofu::wayland {

// An output as the compositor lays it out: its rectangle in the desktop's
// logical coordinates, and how many device pixels a logical one has.
struct OutputPlace {
  Rect logical;
  int scale = 1;
};

// The sky spans the outputs' bounding box, as the virtual desktop does on
// Windows. A sky pixel is a device pixel of the densest output: the logical
// layout times its scale. On a scale-2 output a star is then one device
// pixel, as on X11, and the cat keeps the size it has in device pixels;
// an output of lower scale in the same layout gets the same dense buffer and
// the compositor scales it down.
class SkyGeometry {
 public:
  SkyGeometry() = default;
  explicit SkyGeometry(const std::vector<OutputPlace>& outputs);

  int Width() const { return bounds_.Width() * scale_; }
  int Height() const { return bounds_.Height() * scale_; }
  int Scale() const { return scale_; }
  const Rect& Bounds() const { return bounds_; }
  // Where an output's picture lies in the sky.
  Rect SkyRectOf(const Rect& logical) const;
  // A point in an output's surface-local (logical) coordinates, in the sky.
  double SkyX(const Rect& logical, double local_x) const;
  double SkyY(const Rect& logical, double local_y) const;

 private:
  Rect bounds_;
  int scale_ = 1;
};

}  // namespace mofu::wayland
