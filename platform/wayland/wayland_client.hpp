#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/wayland/outputs.hpp"
#include "platform/wayland/seat.hpp"
#include "platform/wayland/sky_geometry.hpp"

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct xdg_wm_base;
struct zwlr_layer_shell_v1;
struct zxdg_output_manager_v1;

struct wl_registry_listener;

namespace mofu {
class SkySurface;
}

namespace mofu::wayland {

// The connection to a Wayland compositor and the globals the saver uses:
// the outputs it covers, the seats whose input ends it, shared memory for
// its pictures and a shell to show them with (layer-shell, or xdg-shell's
// fullscreen windows where there is none).
class WaylandClient {
 public:
  // nullptr when no compositor is named, none answers, or it lacks what
  // the saver needs: X11 is tried then.
  static std::unique_ptr<WaylandClient> Connect();
  ~WaylandClient();
  WaylandClient(const WaylandClient&) = delete;
  WaylandClient& operator=(const WaylandClient&) = delete;

  wl_display* Display() const { return display_; }
  wl_compositor* Compositor() const { return compositor_; }
  wl_shm* Shm() const { return shm_; }
  zwlr_layer_shell_v1* LayerShell() const { return layer_shell_; }
  xdg_wm_base* WmBase() const { return wm_base_; }

  const std::vector<std::unique_ptr<Output>>& Outputs() const { return outputs_; }
  // The sky over the outputs the compositor has described and not removed.
  SkyGeometry Geometry() const;
  // Whether outputs came, went or changed since the last call.
  bool TakeLayoutChange();
  // Forgets the outputs the compositor removed; their surfaces must be gone.
  void DropGoneOutputs();
  void SetSeatListener(SeatListener* listener);

  // The saver's surface on this compositor.
  std::unique_ptr<SkySurface> CreateSkySurface();

 private:
  explicit WaylandClient(wl_display* display);
  static const ::wl_registry_listener kRegistryListener;
  void Global(std::uint32_t name, const char* interface, std::uint32_t version);
  void GlobalRemove(std::uint32_t name);

  wl_display* display_;
  wl_registry* registry_ = nullptr;
  wl_compositor* compositor_ = nullptr;
  wl_shm* shm_ = nullptr;
  xdg_wm_base* wm_base_ = nullptr;
  zwlr_layer_shell_v1* layer_shell_ = nullptr;
  zxdg_output_manager_v1* xdg_output_manager_ = nullptr;
  std::vector<std::unique_ptr<Output>> outputs_;
  std::vector<std::unique_ptr<Seat>> seats_;
  SeatListener* seat_listener_ = nullptr;
  bool outputs_removed_ = false;
};

// The compositor went away or broke the connection: reported, and the
// process ends with the status of a lost display.
[[noreturn]] void DisplayLost(wl_display* display);

}  // namespace mofu::wayland
