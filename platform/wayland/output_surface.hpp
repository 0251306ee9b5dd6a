#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/wayland/sky_geometry.hpp"

struct wl_surface;
struct wl_callback;
struct zwlr_layer_surface_v1;
struct xdg_surface;
struct xdg_toplevel;
struct wl_shm;
struct wl_buffer;

namespace mofu::wayland {

class Output;
class WaylandClient;
struct ShmBuffer;

// The saver's surface on one output: a layer-shell surface above everything
// else or, where the compositor has no layer shell, a fullscreen window. It
// shows its output's place in the sky.
//
// One buffer while the compositor gives it back before the next frame; a
// second only when it holds on, caught up from the first before it is drawn
// in. A frame waits for the compositor to want the next one (the frame
// callback of the last commit), so an output that shows nothing is sent
// nothing; what comes while it holds every buffer is drawn again later.
class OutputSurface {
 public:
  // `sky` hears of the picture to draw again.
  OutputSurface(WaylandClient& client, Output& output, SkyInput& sky);
  ~OutputSurface();
  OutputSurface(const OutputSurface&) = delete;
  OutputSurface& operator=(const OutputSurface&) = delete;

  Output& Target() const { return output_; }
  const SkyPlace& Place() const { return place_; }
  void SetPlace(const SkyPlace& place);
  // A rectangle of sky pixels; the part on this output is drawn.
  void Blit(const Rect& rect, const std::uint32_t* pixels, int stride);
  // Sends what was drawn, now or when the compositor next wants a frame.
  void Flush();
  // Asks for the keyboard again after a surface mapped later took it.
  void AskForKeyboard();

  // What the compositor says, from the listeners.
  void Configure(int width, int height);
  void FrameDone();
  bool closed = false;

 private:
  ShmBuffer* Drawable();
  void Restart();
  void Commit();

  WaylandClient& client_;
  Output& output_;
  SkyInput& sky_;
  wl_surface* surface_;
  zwlr_layer_surface_v1* layer_ = nullptr;
  xdg_surface* xdg_surface_ = nullptr;
  xdg_toplevel* toplevel_ = nullptr;
  int width_ = 0, height_ = 0;  // logical, as configured
  SkyPlace place_;
  std::vector<std::unique_ptr<ShmBuffer>> buffers_;
  ShmBuffer* shown_ = nullptr;    // the one last committed
  ShmBuffer* drawing_ = nullptr;  // the one being drawn in
  std::vector<Rect> damage_;      // of drawing_, since it was taken
  wl_callback* frame_ = nullptr;
  bool commit_waiting_ = false;
};

}  // namespace mofu::wayland
