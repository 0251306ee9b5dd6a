#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/wayland/shm_buffer.hpp"
#include "runtime/rect.hpp"

struct wl_surface;
struct wl_callback;
struct zwlr_layer_surface_v1;
struct xdg_surface;
struct xdg_toplevel;

struct zwlr_layer_surface_v1_listener;
struct xdg_surface_listener;
struct xdg_toplevel_listener;
struct wl_callback_listener;

namespace mofu::wayland {

class Output;
class WaylandClient;

// The saver's surface on one output: a layer-shell surface above everything
// else, or where the compositor has no layer shell, a fullscreen window. It
// shows its output's part of the sky.
//
// Drawing goes into a back buffer the compositor does not hold; before the
// first write it catches up, from the buffer last shown, on whatever was
// shown since it was last current. Two buffers are all it keeps (each costs
// an output's worth of memory for as long as the saver runs): what comes
// while the compositor holds both is asked for again at the next frame. A frame is sent only once
// the compositor has asked for the next one (its frame callback): until then changes gather in the
// back buffer, so an output that shows nothing is sent nothing.
class OutputSurface {
 public:
  class Owner {
   public:
    virtual ~Owner() = default;
    // The surface has a (new) size and needs its whole picture.
    virtual void Configured(OutputSurface& surface) = 0;
    // The compositor will not show it any more.
    virtual void Closed(OutputSurface& surface) = 0;
    // A rectangle of sky came while both buffers were on screen: it is
    // wanted again.
    virtual void Owed(const Rect& sky_rect) = 0;
  };

  OutputSurface(WaylandClient& client, Output& output, Owner& owner);
  ~OutputSurface();
  OutputSurface(const OutputSurface&) = delete;
  OutputSurface& operator=(const OutputSurface&) = delete;

  Output& Target() const { return output_; }
  wl_surface* Surface() const { return surface_; }
  // Where its picture lies in the sky, and the sky's pixels per logical one.
  void Place(const Rect& sky_rect, int scale);
  const Rect& SkyRect() const { return sky_rect_; }
  // A rectangle of sky pixels; the part on this output is drawn.
  void Blit(const Rect& rect, const std::uint32_t* pixels, int stride);
  // Sends what was drawn, now or when the compositor next wants a frame.
  void Flush();

  bool closed = false;

 private:
  static const ::zwlr_layer_surface_v1_listener kLayerListener;
  static const ::xdg_surface_listener kXdgSurfaceListener;
  static const ::xdg_toplevel_listener kToplevelListener;
  static const ::wl_callback_listener kFrameListener;

  void Resize(int width, int height);
  ShmBuffer* Back();
  void Commit();
  void FrameDone();

  WaylandClient& client_;
  Output& output_;
  Owner& owner_;
  wl_surface* surface_;
  zwlr_layer_surface_v1* layer_ = nullptr;
  xdg_surface* xdg_surface_ = nullptr;
  xdg_toplevel* toplevel_ = nullptr;
  int width_ = 0;  // logical, as configured
  int height_ = 0;
  int pending_width_ = 0;
  int pending_height_ = 0;
  bool configured_ = false;
  Rect sky_rect_;
  int scale_ = 1;
  std::vector<std::unique_ptr<ShmBuffer>> buffers_;
  ShmBuffer* front_ = nullptr;  // the one last sent
  ShmBuffer* back_ = nullptr;   // the one being drawn
  std::vector<Rect> damage_;    // in the back buffer since it was taken
  wl_callback* frame_ = nullptr;
  bool commit_waiting_ = false;
  std::vector<Rect> owed_;  // sky rectangles that found no buffer to go in
};

}  // namespace mofu::wayland
