#include "platform/wayland/outputs.hpp"

#include <wayland-client.h>

#include "xdg-output-unstable-v1-client-protocol.h"

namespace mofu::wayland {

const wl_output_listener Output::kListener = {
    .geometry =
        [](void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*,
           const char*, int32_t transform) {
          auto* self = static_cast<Output*>(data);
          self->x_ = x;
          self->y_ = y;
          self->transform_ = transform;
        },
    .mode =
        [](void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
          if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
          auto* self = static_cast<Output*>(data);
          self->mode_width_ = width;
          self->mode_height_ = height;
        },
    .done = [](void* data, wl_output*) { static_cast<Output*>(data)->Done(); },
    .scale = [](void* data, wl_output*,
                int32_t factor) { static_cast<Output*>(data)->scale_ = factor > 0 ? factor : 1; },
#ifdef WL_OUTPUT_NAME_SINCE_VERSION
    .name = [](void* data, wl_output*,
               const char* name) { static_cast<Output*>(data)->name_ = name; },
    .description = [](void*, wl_output*, const char*) {},
#endif
};

const zxdg_output_v1_listener Output::kXdgListener = {
    .logical_position =
        [](void* data, zxdg_output_v1*, int32_t x, int32_t y) {
          auto* self = static_cast<Output*>(data);
          self->logical_.right += x - self->logical_.left;
          self->logical_.bottom += y - self->logical_.top;
          self->logical_.left = x;
          self->logical_.top = y;
          self->has_logical_ = true;
        },
    .logical_size =
        [](void* data, zxdg_output_v1*, int32_t width, int32_t height) {
          auto* self = static_cast<Output*>(data);
          self->logical_.right = self->logical_.left + width;
          self->logical_.bottom = self->logical_.top + height;
          self->has_logical_ = true;
        },
    // From version 3 on, an update ends with the output's own done.
    .done =
        [](void* data, zxdg_output_v1* xdg) {
          if (zxdg_output_v1_get_version(xdg) < 3) static_cast<Output*>(data)->Done();
        },
    .name =
        [](void* data, zxdg_output_v1*, const char* name) {
          auto* self = static_cast<Output*>(data);
          if (self->name_.empty()) self->name_ = name;
        },
    .description = [](void*, zxdg_output_v1*, const char*) {},
};

Output::Output(std::uint32_t global, wl_output* output, zxdg_output_manager_v1* xdg_manager)
    : global_(global), output_(output) {
  wl_output_add_listener(output_, &kListener, this);
  UseXdgOutput(xdg_manager);
}

void Output::UseXdgOutput(zxdg_output_manager_v1* manager) {
  if (manager == nullptr || xdg_ != nullptr) return;
  xdg_ = zxdg_output_manager_v1_get_xdg_output(manager, output_);
  zxdg_output_v1_add_listener(xdg_, &kXdgListener, this);
}

Output::~Output() {
  if (xdg_ != nullptr) zxdg_output_v1_destroy(xdg_);
  if (wl_output_get_version(output_) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
    wl_output_release(output_);
  } else {
    wl_output_destroy(output_);
  }
}

Rect Output::Logical() const {
  if (has_logical_) return logical_;
  // A quarter turn swaps the mode's width and height on the desktop.
  const bool turned = transform_ % 2 == 1;
  const int width = (turned ? mode_height_ : mode_width_) / scale_;
  const int height = (turned ? mode_width_ : mode_height_) / scale_;
  return {x_, y_, x_ + width, y_ + height};
}

void Output::Done() {
  const Rect now = Logical();
  if (!ready_ || now != last_ || scale_ != last_scale_) changed = true;
  ready_ = !now.Empty();
  last_ = now;
  last_scale_ = scale_;
}

}  // namespace mofu::wayland
