#include "platform/wayland/output_surface.hpp"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstring>

#include "platform/wayland/layer_shell_protocol.hpp"
#include "platform/wayland/wayland_client.hpp"
#include "xdg-shell-client-protocol.h"

namespace mofu::wayland {

// A picture in shared memory that the compositor reads from. From the commit
// that hands it over until the compositor releases it, it is busy: it may be
// read, never written.
struct ShmBuffer {
  ShmBuffer(wl_shm* shm, const Rect& size);
  ~ShmBuffer();
  std::uint32_t* Row(int y) const { return pixels + static_cast<std::size_t>(y) * bounds.right; }

  Rect bounds;
  std::uint32_t* pixels = nullptr;
  wl_buffer* buffer = nullptr;  // nullptr when the memory could not be had
  bool busy = false;
  std::vector<Rect> stale;  // where the picture on screen is newer than this one
};

namespace {

// A spare buffer this many rectangles behind the screen has not been needed
// for frames: it goes, and a new one comes when the compositor next holds on.
constexpr std::size_t kMaxStale = 256;

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
          // Fullscreen on its output: the output's size.
          const Rect logical = Of(data)->Target().Place().logical;
          Of(data)->Configure(logical.Width(), logical.Height());
        },
};

const xdg_toplevel_listener kToplevelListener = {
    .configure = [](void*, xdg_toplevel*, int32_t, int32_t, wl_array*) {},
    .close = [](void* data, xdg_toplevel*) { Of(data)->closed = true; },
};

const wl_buffer_listener kBufferListener = {
    .release = [](void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->busy = false; },
};

const wl_callback_listener kFrameListener = {
    .done = [](void* data, wl_callback*, uint32_t) { Of(data)->FrameDone(); },
};

}  // namespace

// A fresh file reads as zeros: a black sky until something is drawn.
ShmBuffer::ShmBuffer(wl_shm* shm, const Rect& size) : bounds(size) {
  const std::size_t bytes = static_cast<std::size_t>(size.right) * size.bottom * 4;
  const int fd = memfd_create("mofu-sky", MFD_CLOEXEC);
  void* memory = fd < 0 || ftruncate(fd, static_cast<off_t>(bytes)) != 0
                     ? MAP_FAILED
                     : mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (memory != MAP_FAILED) {
    pixels = static_cast<std::uint32_t*>(memory);
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(bytes));
    buffer = wl_shm_pool_create_buffer(pool, 0, size.right, size.bottom, size.right * 4,
                                       WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    wl_buffer_add_listener(buffer, &kBufferListener, this);
  }
  if (fd >= 0) close(fd);
}

ShmBuffer::~ShmBuffer() {
  if (buffer == nullptr) return;
  wl_buffer_destroy(buffer);
  munmap(pixels, static_cast<std::size_t>(bounds.right) * bounds.bottom * 4);
}

OutputSurface::OutputSurface(WaylandClient& client, Output& output, SkyInput& sky)
    : client_(client),
      output_(output),
      sky_(sky),
      surface_(wl_compositor_create_surface(client.compositor)) {
  wl_surface_set_user_data(surface_, &place_);
  if (client.layer_shell != nullptr) {
    layer_ = zwlr_layer_shell_v1_get_layer_surface(client.layer_shell, surface_, output.handle,
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
    xdg_surface_ = xdg_wm_base_get_xdg_surface(client.wm_base, surface_);
    xdg_surface_add_listener(xdg_surface_, &kXdgSurfaceListener, this);
    toplevel_ = xdg_surface_get_toplevel(xdg_surface_);
    xdg_toplevel_add_listener(toplevel_, &kToplevelListener, this);
    xdg_toplevel_set_title(toplevel_, "Mofu Saver");
    xdg_toplevel_set_app_id(toplevel_, "mofu");
    xdg_toplevel_set_fullscreen(toplevel_, output.handle);
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
  Restart();
  sky_.Exposed(place_.rect);
}

void OutputSurface::SetPlace(const SkyPlace& place) {
  if (place.scale != place_.scale) Restart();
  place_ = place;
}

// What was drawn for another size or scale is never sent.
void OutputSurface::Restart() {
  drawing_ = nullptr;
  damage_.clear();
  commit_waiting_ = false;
}

void OutputSurface::Blit(const Rect& rect, const std::uint32_t* pixels, int stride) {
  const Rect on_output = rect.Intersect(place_.rect);
  if (on_output.Empty() || width_ <= 0 || height_ <= 0) return;
  ShmBuffer* buffer = Drawable();
  if (buffer == nullptr) {
    // The compositor holds every buffer: it goes out with a later frame.
    sky_.Exposed(on_output);
    return;
  }
  const Rect& at = place_.rect;
  const Rect local = Rect{on_output.left - at.left, on_output.top - at.top,
                          on_output.right - at.left, on_output.bottom - at.top}
                         .Intersect(buffer->bounds);
  for (int y = local.top; y < local.bottom; ++y) {
    const std::uint32_t* source =
        pixels + static_cast<std::ptrdiff_t>(y + at.top - rect.top) * stride;
    std::memcpy(buffer->Row(y) + local.left, source + local.left + at.left - rect.left,
                local.Width() * sizeof *source);
  }
  // The sky sends a rectangle as bands of rows: one rectangle again here.
  Rect* last = damage_.empty() ? nullptr : &damage_.back();
  if (last != nullptr && last->left == local.left && last->right == local.right &&
      last->bottom == local.top) {
    last->bottom = local.bottom;
  } else if (!local.Empty()) {
    damage_.push_back(local);
  }
  // Frames that gather while the compositor shows none are sent whole.
  if (damage_.size() > kMaxStale) damage_.assign(1, buffer->bounds);
}

// A buffer the compositor does not hold, brought up to date with the one
// last shown; buffers of an old size go.
ShmBuffer* OutputSurface::Drawable() {
  if (drawing_ != nullptr) return drawing_;
  const Rect size{0, 0, width_ * place_.scale, height_ * place_.scale};
  if (!buffers_.empty() && buffers_.front()->bounds != size) {
    buffers_.clear();
    shown_ = nullptr;
  }
  // The one shown last, if free, needs no catching up.
  for (auto& buffer : buffers_) {
    if (!buffer->busy && (drawing_ == nullptr || buffer.get() == shown_)) drawing_ = buffer.get();
  }
  // A second buffer only when the compositor has shown the last frame and
  // still holds on to it; before that, the picture waits for the first.
  if (drawing_ == nullptr && (buffers_.empty() || (buffers_.size() < 2 && frame_ == nullptr))) {
    auto made = std::make_unique<ShmBuffer>(client_.shm, size);
    if (made->buffer == nullptr) return nullptr;
    if (shown_ != nullptr) made->stale.assign(1, size);
    drawing_ = buffers_.emplace_back(std::move(made)).get();
  }
  if (drawing_ == nullptr) return nullptr;
  for (const Rect& r : shown_ != drawing_ ? drawing_->stale : std::vector<Rect>{}) {
    for (int y = r.top; y < r.bottom; ++y) {
      std::memcpy(drawing_->Row(y) + r.left, shown_->Row(y) + r.left, r.Width() * 4u);
    }
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
  wl_surface_attach(surface_, drawing_->buffer, 0, 0);
  for (const Rect& r : damage_)
    wl_surface_damage_buffer(surface_, r.left, r.top, r.Width(), r.Height());
  frame_ = wl_surface_frame(surface_);
  wl_callback_add_listener(frame_, &kFrameListener, this);
  wl_surface_commit(surface_);
  drawing_->busy = true;
  std::erase_if(buffers_, [this](const auto& buffer) {
    if (buffer.get() == drawing_) return false;
    buffer->stale.insert(buffer->stale.end(), damage_.begin(), damage_.end());
    return buffer->stale.size() > kMaxStale;
  });
  shown_ = drawing_;
  drawing_ = nullptr;
  damage_.clear();
}

void OutputSurface::FrameDone() {
  wl_callback_destroy(frame_);
  frame_ = nullptr;
  if (commit_waiting_) Commit();
}

void OutputSurface::AskForKeyboard() {
  if (layer_ == nullptr) return;
  zwlr_layer_surface_v1_set_keyboard_interactivity(
      layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
  wl_surface_commit(surface_);
}

}  // namespace mofu::wayland
