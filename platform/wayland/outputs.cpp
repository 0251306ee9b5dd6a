#include "platform/wayland/outputs.hpp"

#include <wayland-client.h>

#include <algorithm>

#include "xdg-output-unstable-v1-client-protocol.h"

namespace mofu::wayland {
namespace {

Output* Of(void* data) { return static_cast<Output*>(data); }

const wl_output_listener kListener = {
    .geometry =
        [](void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*,
           const char*, int32_t transform) {
          Of(data)->x = x;
          Of(data)->y = y;
          Of(data)->transform = transform;
        },
    .mode =
        [](void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t mhz) {
          if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
          Of(data)->mode_width = width;
          Of(data)->mode_height = height;
          Of(data)->refresh_mhz = mhz;
        },
    .done = [](void* data, wl_output*) { Of(data)->Done(); },
    .scale = [](void* data, wl_output*, int32_t factor) { Of(data)->scale = std::max(factor, 1); },
};

// Version 1: each update ends with a done of its own.
const zxdg_output_v1_listener kXdgListener = {
    .logical_position =
        [](void* data, zxdg_output_v1*, int32_t x, int32_t y) {
          Rect& l = Of(data)->logical;
          l = {x, y, x + l.Width(), y + l.Height()};
          Of(data)->has_logical = true;
        },
    .logical_size =
        [](void* data, zxdg_output_v1*, int32_t width, int32_t height) {
          Rect& l = Of(data)->logical;
          l = {l.left, l.top, l.left + width, l.top + height};
          Of(data)->has_logical = true;
        },
    .done = [](void* data, zxdg_output_v1*) { Of(data)->Done(); },
};

}  // namespace

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

OutputPlace Output::Place() const {
  if (has_logical) return {logical, scale};
  // A quarter turn swaps the mode's width and height on the desktop.
  const bool turned = transform % 2 == 1;
  const int width = (turned ? mode_height : mode_width) / scale;
  const int height = (turned ? mode_width : mode_height) / scale;
  return {{x, y, x + width, y + height}, scale};
}

void Output::Done() {
  const OutputPlace now = Place();
  changed = changed || !ready_ || now.logical != last_.logical || now.scale != last_.scale ||
            refresh_mhz != last_refresh_mhz_;
  ready_ = !now.logical.Empty();
  last_ = now;
  last_refresh_mhz_ = refresh_mhz;
}

}  // namespace mofu::wayland
