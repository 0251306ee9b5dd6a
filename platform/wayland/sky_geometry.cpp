#include "platform/wayland/sky_geometry.hpp"

#include <algorithm>

namespace mofu::wayland {

SkyGeometry::SkyGeometry(const std::vector<OutputPlace>& outputs) {
  bool first = true;
  for (const OutputPlace& output : outputs) {
    if (output.logical.Empty()) continue;
    bounds_ = first ? output.logical : bounds_.Union(output.logical);
    scale_ = std::max(scale_, output.scale);
    first = false;
  }
}

Rect SkyGeometry::SkyRectOf(const Rect& logical) const {
  return {(logical.left - bounds_.left) * scale_, (logical.top - bounds_.top) * scale_,
          (logical.right - bounds_.left) * scale_, (logical.bottom - bounds_.top) * scale_};
}

double SkyGeometry::SkyX(const Rect& logical, double local_x) const {
  return (logical.left - bounds_.left + local_x) * scale_;
}

double SkyGeometry::SkyY(const Rect& logical, double local_y) const {
  return (logical.top - bounds_.top + local_y) * scale_;
}

}  // namespace mofu::wayland
