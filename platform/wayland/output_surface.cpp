#include "platform/wayland/output_surface.hpp"

#include <wayland-client.h>

#include <cstring>

#include "platform/wayland/layer_shell_protocol.hpp"
#include "platform/wayland/outputs.hpp"
#include "platform/wayland/wayland_client.hpp"
#include "xdg-shell-client-protocol.h"

namespace mofu::wayland {
namespace {

// Past this many rectangles one that covers them all is cheaper.
constexpr std::size_t kMaxRects = 32;

void AddRect(std::vector<Rect>& rects, const Rect& rect) {
  if (rects.size() < kMaxRects) {
    rects.push_back(rect);
    return;
  }
  Rect all = rect;
  for (const Rect& r : rects) all = all.Union(r);
  rects.assign(1, all);
}

Rect Moved(const Rect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

OutputSurface* Of(void* data) { return static_cast<OutputSurface*>(data); }

const zwlr_layer_surface_v1_listener kLayerListener = {
    .configure =
        [](void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
           uint32_t height) {
          zwlr_layer_surface_v1_ack_configure(layer, serial);
          Of(data)->Configure(static_cast<int>(width), static_cast<int>(height));
        },
    .closed = [](void* data, zwlr_layer_surface_v1*) { Of(data)->closed = true; },
};

const xdg_surface_listener kXdgSurfaceListener = {
    .configure =
        [](void* data, xdg_surface* surface, uint32_t serial) {
          xdg_surface_ack_configure(surface, serial);
          // A size of zero leaves it to the client: the output's own.
          OutputSurface* self = Of(data);
          const Rect logical = self->Target().Place().logical;
          self->Configure(self->toplevel_width > 0 ? self->toplevel_width : logical.Width(),
                          self->toplevel_height > 0 ? self->toplevel_height : logical.Height());
        },
};

const xdg_toplevel_listener kToplevelListener = {
    .configure =
        [](void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
          Of(data)->toplevel_width = width;
          Of(data)->toplevel_height = height;
        },
    .close = [](void* data, xdg_toplevel*) { Of(data)->closed = true; },
};

const wl_callback_listener kFrameListener = {
    .done = [](void* data, wl_callback*, uint32_t) { Of(data)->FrameDone(); },
};

}  // namespace

OutputSurface::OutputSurface(WaylandClient& client, Output& output, SkyInput& sky)
    : client_(client),
      output_(output),
      sky_(sky),
      surface_(wl_compositor_create_surface(client.Compositor())) {
  if (client.LayerShell() != nullptr) {
    layer_ = zwlr_layer_shell_v1_get_layer_surface(client.LayerShell(), surface_, output.Handle(),
                                                   ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "mofu");
    zwlr_layer_surface_v1_add_listener(layer_, &kLayerListener, this);
    // Size zero, anchored on every edge: the whole output. Panels' reserved
    // zones do not push it aside (-1): it covers them too.
    zwlr_layer_surface_v1_set_size(layer_, 0, 0);
    zwlr_layer_surface_v1_set_anchor(
        layer_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
  } else {
    xdg_surface_ = xdg_wm_base_get_xdg_surface(client.WmBase(), surface_);
    xdg_surface_add_listener(xdg_surface_, &kXdgSurfaceListener, this);
    toplevel_ = xdg_surface_get_toplevel(xdg_surface_);
    xdg_toplevel_add_listener(toplevel_, &kToplevelListener, this);
    xdg_toplevel_set_title(toplevel_, "Mofu Saver");
    xdg_toplevel_set_app_id(toplevel_, "mofu");
    xdg_toplevel_set_fullscreen(toplevel_, output.Handle());
  }
  // The first commit carries no picture: the compositor answers with the
  // surface's size.
  wl_surface_commit(surface_);
}

OutputSurface::~OutputSurface() {
  if (frame_ != nullptr) wl_callback_destroy(frame_);
  if (layer_ != nullptr) zwlr_layer_surface_v1_destroy(layer_);
  if (toplevel_ != nullptr) xdg_toplevel_destroy(toplevel_);
  if (xdg_surface_ != nullptr) xdg_surface_destroy(xdg_surface_);
  wl_surface_destroy(surface_);
}

// The whole picture is wanted at a (new) size.
void OutputSurface::Configure(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  sky_.Exposed(place_.rect);
}

void OutputSurface::Blit(const Rect& rect, const std::uint32_t* pixels, int stride) {
  const Rect on_output = rect.Intersect(place_.rect);
  if (on_output.Empty() || width_ <= 0 || height_ <= 0) return;
  ShmBuffer* buffer = Drawable();
  if (buffer == nullptr) {
    AddRect(missed_, on_output);
    return;
  }
  const Rect local =
      Moved(on_output, -place_.rect.left, -place_.rect.top).Intersect(buffer->Bounds());
  for (int y = local.top; y < local.bottom; ++y) {
    const std::uint32_t* source =
        pixels + static_cast<std::ptrdiff_t>(y + place_.rect.top - rect.top) * stride +
        (local.left + place_.rect.left - rect.left);
    std::memcpy(buffer->Row(y) + local.left, source,
                static_cast<std::size_t>(local.Width()) * sizeof *source);
  }
  if (!local.Empty()) AddRect(damage_, local);
}

// A buffer the compositor does not hold, brought up to date with the one
// last shown; buffers of an old size go.
ShmBuffer* OutputSurface::Drawable() {
  if (drawing_ != nullptr) return drawing_;
  const Rect size{0, 0, width_ * place_.scale, height_ * place_.scale};
  if (!buffers_.empty() && buffers_.front()->Bounds() != size) {
    buffers_.clear();
    shown_ = nullptr;
  }
  for (auto& buffer : buffers_) {
    if (!buffer->busy) drawing_ = buffer.get();
  }
  if (drawing_ == nullptr && buffers_.size() < 2) {
    auto made = ShmBuffer::Create(client_.Shm(), size.right, size.bottom);
    if (made == nullptr) return nullptr;
    if (shown_ != nullptr) made->stale.assign(1, size);
    buffers_.push_back(std::move(made));
    drawing_ = buffers_.back().get();
  }
  if (drawing_ == nullptr) return nullptr;
  if (shown_ != nullptr && shown_ != drawing_) {
    for (const Rect& rect : drawing_->stale) drawing_->CopyFrom(*shown_, rect);
  }
  drawing_->stale.clear();
  return drawing_;
}

void OutputSurface::Flush() {
  if (drawing_ == nullptr || damage_.empty()) return;
  if (frame_ != nullptr) {
    commit_waiting_ = true;
    return;
  }
  Commit();
}

void OutputSurface::Commit() {
  commit_waiting_ = false;
  if (drawing_ == nullptr || damage_.empty()) return;
  wl_surface_set_buffer_scale(surface_, place_.scale);
  wl_surface_attach(surface_, drawing_->Handle(), 0, 0);
  for (const Rect& r : damage_)
    wl_surface_damage_buffer(surface_, r.left, r.top, r.Width(), r.Height());
  frame_ = wl_surface_frame(surface_);
  wl_callback_add_listener(frame_, &kFrameListener, this);
  wl_surface_commit(surface_);
  drawing_->busy = true;
  for (auto& buffer : buffers_) {
    if (buffer.get() == drawing_) continue;
    for (const Rect& r : damage_) AddRect(buffer->stale, r);
  }
  shown_ = drawing_;
  drawing_ = nullptr;
  damage_.clear();
}

void OutputSurface::FrameDone() {
  wl_callback_destroy(frame_);
  frame_ = nullptr;
  if (commit_waiting_) Commit();
}

void OutputSurface::HandBackMissed() {
  if (missed_.empty() || Drawable() == nullptr) return;
  for (const Rect& rect : missed_) sky_.Exposed(rect);
  missed_.clear();
}

void OutputSurface::AskForKeyboard() {
  if (layer_ == nullptr) return;
  zwlr_layer_surface_v1_set_keyboard_interactivity(
      layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
  wl_surface_commit(surface_);
}

}  // namespace mofu::wayland
