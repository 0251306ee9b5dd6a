#include "platform/wayland/output_surface.hpp"

#include <wayland-client.h>

#include <cstring>

#include "platform/wayland/layer_shell_protocol.hpp"
#include "platform/wayland/outputs.hpp"
#include "platform/wayland/wayland_client.hpp"
#include "xdg-shell-client-protocol.h"

namespace mofu::wayland {
namespace {

constexpr std::size_t kMaxBuffers = 2;
// Past this many rectangles one that covers them all is cheaper.
constexpr std::size_t kMaxRects = 32;

void AddRect(std::vector<Rect>& rects, const Rect& rect) {
  if (rects.size() >= kMaxRects) {
    Rect all = rect;
    for (const Rect& r : rects) all = all.Union(r);
    rects.assign(1, all);
    return;
  }
  rects.push_back(rect);
}

OutputSurface* Of(void* data) { return static_cast<OutputSurface*>(data); }

}  // namespace

const zwlr_layer_surface_v1_listener OutputSurface::kLayerListener = {
    .configure =
        [](void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
           uint32_t height) {
          zwlr_layer_surface_v1_ack_configure(layer, serial);
          Of(data)->Resize(static_cast<int>(width), static_cast<int>(height));
        },
    .closed =
        [](void* data, zwlr_layer_surface_v1*) {
          Of(data)->closed = true;
          Of(data)->owner_.Closed(*Of(data));
        },
};

const xdg_surface_listener OutputSurface::kXdgSurfaceListener = {
    .configure =
        [](void* data, xdg_surface* surface, uint32_t serial) {
          xdg_surface_ack_configure(surface, serial);
          OutputSurface* self = Of(data);
          // A size of zero leaves it to the client: the output's own.
          const Rect logical = self->output_.Logical();
          self->Resize(self->pending_width_ > 0 ? self->pending_width_ : logical.Width(),
                       self->pending_height_ > 0 ? self->pending_height_ : logical.Height());
        },
};

const xdg_toplevel_listener OutputSurface::kToplevelListener = {
    .configure =
        [](void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
          Of(data)->pending_width_ = width;
          Of(data)->pending_height_ = height;
        },
    .close =
        [](void* data, xdg_toplevel*) {
          Of(data)->closed = true;
          Of(data)->owner_.Closed(*Of(data));
        },
#ifdef XDG_TOPLEVEL_CONFIGURE_BOUNDS_SINCE_VERSION
    .configure_bounds = [](void*, xdg_toplevel*, int32_t, int32_t) {},
#endif
#ifdef XDG_TOPLEVEL_WM_CAPABILITIES_SINCE_VERSION
    .wm_capabilities = [](void*, xdg_toplevel*, wl_array*) {},
#endif
};

const wl_callback_listener OutputSurface::kFrameListener = {
    .done = [](void* data, wl_callback*, uint32_t) { Of(data)->FrameDone(); },
};

OutputSurface::OutputSurface(WaylandClient& client, Output& output, Owner& owner)
    : client_(client),
      output_(output),
      owner_(owner),
      surface_(wl_compositor_create_surface(client.Compositor())) {
  if (client.LayerShell() != nullptr) {
    layer_ = zwlr_layer_shell_v1_get_layer_surface(client.LayerShell(), surface_, output.Handle(),
                                                   ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "mofu");
    zwlr_layer_surface_v1_add_listener(layer_, &kLayerListener, this);
    // Size zero on every anchored edge: the compositor gives the whole output.
    zwlr_layer_surface_v1_set_size(layer_, 0, 0);
    zwlr_layer_surface_v1_set_anchor(
        layer_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    // Panels' reserved zones do not push it aside: it covers them too.
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
  buffers_.clear();
}

void OutputSurface::Place(const Rect& sky_rect, int scale) {
  if (sky_rect == sky_rect_ && scale == scale_) return;
  sky_rect_ = sky_rect;
  if (scale != scale_) {
    scale_ = scale;
    Resize(width_, height_);
  }
}

// Buffers of the old size are dropped (one the compositor still shows stays
// on screen until the new picture replaces it).
void OutputSurface::Resize(int width, int height) {
  const bool first = !configured_;
  configured_ = width > 0 && height > 0;
  if (!first && width == width_ && height == height_ && !buffers_.empty() &&
      buffers_.front()->Width() == width * scale_) {
    return;
  }
  width_ = width;
  height_ = height;
  buffers_.clear();
  front_ = back_ = nullptr;
  damage_.clear();
  owed_.clear();
  if (configured_) owner_.Configured(*this);
}

void OutputSurface::Blit(const Rect& rect, const std::uint32_t* pixels, int stride) {
  const Rect on_output = rect.Intersect(sky_rect_);
  if (on_output.Empty()) return;
  ShmBuffer* back = Back();
  if (back == nullptr) {
    if (configured_) AddRect(owed_, on_output);
    return;
  }
  const Rect local = Rect{on_output.left - sky_rect_.left, on_output.top - sky_rect_.top,
                          on_output.right - sky_rect_.left, on_output.bottom - sky_rect_.top}
                         .Intersect({0, 0, back->Width(), back->Height()});
  if (local.Empty()) return;
  for (int y = local.top; y < local.bottom; ++y) {
    const std::uint32_t* source =
        pixels + static_cast<std::ptrdiff_t>(y + sky_rect_.top - rect.top) * stride +
        (local.left + sky_rect_.left - rect.left);
    std::memcpy(back->Row(y) + local.left, source,
                static_cast<std::size_t>(local.Width()) * sizeof *source);
  }
  AddRect(damage_, local);
}

// A buffer the compositor does not hold, brought up to date with the one
// last shown.
ShmBuffer* OutputSurface::Back() {
  if (back_ != nullptr) return back_;
  if (!configured_) return nullptr;
  for (auto& buffer : buffers_) {
    if (!buffer->busy) {
      back_ = buffer.get();
      break;
    }
  }
  if (back_ == nullptr && buffers_.size() < kMaxBuffers) {
    auto made = ShmBuffer::Create(client_.Shm(), width_ * scale_, height_ * scale_);
    if (made == nullptr) return nullptr;
    if (front_ != nullptr) made->behind.assign(1, {0, 0, made->Width(), made->Height()});
    buffers_.push_back(std::move(made));
    back_ = buffers_.back().get();
  }
  if (back_ == nullptr) return nullptr;
  if (front_ != nullptr && front_ != back_) {
    for (const Rect& rect : back_->behind) back_->CopyFrom(*front_, rect);
  }
  back_->behind.clear();
  return back_;
}

void OutputSurface::Flush() {
  if (back_ == nullptr || damage_.empty()) return;
  if (frame_ != nullptr) {
    commit_waiting_ = true;
    return;
  }
  Commit();
}

void OutputSurface::Commit() {
  commit_waiting_ = false;
  if (back_ == nullptr || damage_.empty()) return;
  wl_surface_set_buffer_scale(surface_, scale_);
  wl_surface_attach(surface_, back_->Handle(), 0, 0);
  const bool buffer_damage =
      wl_surface_get_version(surface_) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION;
  for (const Rect& r : damage_) {
    if (buffer_damage) {
      wl_surface_damage_buffer(surface_, r.left, r.top, r.Width(), r.Height());
    } else {
      // Surface coordinates, rounded outwards.
      wl_surface_damage(surface_, r.left / scale_, r.top / scale_,
                        (r.right + scale_ - 1) / scale_ - r.left / scale_,
                        (r.bottom + scale_ - 1) / scale_ - r.top / scale_);
    }
  }
  frame_ = wl_surface_frame(surface_);
  wl_callback_add_listener(frame_, &kFrameListener, this);
  wl_surface_commit(surface_);
  back_->busy = true;
  for (auto& buffer : buffers_) {
    if (buffer.get() == back_) continue;
    for (const Rect& r : damage_) AddRect(buffer->behind, r);
  }
  front_ = back_;
  back_ = nullptr;
  damage_.clear();
}

void OutputSurface::FrameDone() {
  wl_callback_destroy(frame_);
  frame_ = nullptr;
  if (commit_waiting_) Commit();
  std::vector<Rect> owed;
  owed.swap(owed_);
  for (const Rect& rect : owed) owner_.Owed(rect);
}

}  // namespace mofu::wayland
