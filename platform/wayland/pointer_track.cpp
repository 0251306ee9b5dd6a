#include "platform/wayland/pointer_track.hpp"

namespace mofu::wayland {

void PointerTrack::Enter(const Rect& output, double local_x, double local_y) {
  output_ = output;
  inside_ = true;
  Report(output, local_x, local_y);
}

void PointerTrack::Motion(double local_x, double local_y) {
  if (inside_) Report(output_, local_x, local_y);
}

void PointerTrack::Click() {
  input_.ButtonDown(x_, y_);
  input_.ButtonUp(x_, y_);
}

void PointerTrack::Touch(const Rect& output, double local_x, double local_y) {
  const double x = geometry_.SkyX(output, local_x);
  const double y = geometry_.SkyY(output, local_y);
  input_.ButtonDown(x, y);
  input_.ButtonUp(x, y);
}

void PointerTrack::Report(const Rect& output, double local_x, double local_y) {
  x_ = geometry_.SkyX(output, local_x);
  y_ = geometry_.SkyY(output, local_y);
  input_.PointerReport(x_, y_);
}

}  // namespace mofu::wayland
