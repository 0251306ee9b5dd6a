#include "platform/wayland/sky_geometry.hpp"

#include <algorithm>
#include <iterator>

namespace mofu::wayland {

SkyGeometry::SkyGeometry(const std::vector<OutputPlace>& outputs)
    : xs_(Stretch(outputs, false)), ys_(Stretch(outputs, true)) {
  for (const OutputPlace& output : outputs) {
    if (!output.logical.Empty()) size_ = size_.Union(PlaceOf(output).rect);
  }
}

// Between two edges each logical pixel is as many sky pixels as the densest
// output there has.
SkyGeometry::Edges SkyGeometry::Stretch(const std::vector<OutputPlace>& outputs, bool vertical) {
  const auto from = [vertical](const Rect& r) { return vertical ? r.top : r.left; };
  const auto to = [vertical](const Rect& r) { return vertical ? r.bottom : r.right; };
  Edges edges;
  for (const OutputPlace& o : outputs) {
    if (!o.logical.Empty()) edges[from(o.logical)] = edges[to(o.logical)] = 0;
  }
  for (auto at = edges.begin(); at != edges.end() && std::next(at) != edges.end(); ++at) {
    const auto next = std::next(at);
    int density = 1;
    for (const OutputPlace& o : outputs) {
      if (!o.logical.Empty() && from(o.logical) <= at->first && to(o.logical) >= next->first) {
        density = std::max(density, o.scale);
      }
    }
    next->second = at->second + (next->first - at->first) * density;
  }
  return edges;
}

SkyPlace SkyGeometry::PlaceOf(const OutputPlace& output) const {
  const Rect& l = output.logical;
  const int left = xs_.at(l.left);
  const int top = ys_.at(l.top);
  return {{left, top, left + l.Width() * output.scale, top + l.Height() * output.scale},
          output.scale};
}

void InputTrack::Enter(const SkyPlace& place, double local_x, double local_y) {
  place_ = place;
  inside_ = true;
  const double x = place.X(local_x);
  const double y = place.Y(local_y);
  if (reported_) {
    offset_x_ += x_ - x;
    offset_y_ += y_ - y;
  }
  x_ = x;
  y_ = y;
  if (!reported_) input_.PointerReport(x, y);
  reported_ = true;
}

void InputTrack::Motion(double local_x, double local_y) {
  if (!inside_) return;
  x_ = place_.X(local_x);
  y_ = place_.Y(local_y);
  input_.PointerReport(x_ + offset_x_, y_ + offset_y_);
}

void InputTrack::Button(bool pressed) {
  if (pressed) {
    input_.ButtonDown(x_, y_);
  } else {
    input_.ButtonUp(x_, y_);
  }
}

void InputTrack::TouchDown(const SkyPlace& place, double local_x, double local_y) {
  touch_place_ = place;
  touch_x_ = place.X(local_x);
  touch_y_ = place.Y(local_y);
  input_.ButtonDown(touch_x_, touch_y_);
}

void InputTrack::TouchMotion(double local_x, double local_y) {
  touch_x_ = touch_place_.X(local_x);
  touch_y_ = touch_place_.Y(local_y);
}

}  // namespace mofu::wayland
