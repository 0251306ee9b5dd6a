#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/linux/display_part.hpp"
#include "platform/wayland/outputs.hpp"
#include "platform/wayland/seat.hpp"

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct xdg_wm_base;
struct zwlr_layer_shell_v1;
struct zxdg_output_manager_v1;

namespace mofu::wayland {

// A Wayland compositor as the Linux program's display: the connection, and
// the globals the saver uses (the outputs it covers, the seats whose input
// ends it, shared memory, and layer-shell or else xdg-shell's fullscreen
// windows). The sky spans the outputs. The compositor keeps the overlay on
// top and the idle daemon owns the blanker, so those requests ask nothing.
// There is no second way to lock: without a private folder, another copy is
// taken to run.
class WaylandClient final : public linux_os::DisplayPart {
 public:
  // nullptr when no compositor answers or it lacks what the saver needs:
  // X11 is tried then.
  static std::unique_ptr<WaylandClient> Connect();
  ~WaylandClient() override;

  std::string InstanceName() const override { return "mofu"; }
  std::unique_ptr<linux_os::LockFallback> MakeLockFallback() override { return nullptr; }
  int ScreenPixelWidth() override { return Geometry().Width(); }
  int ScreenPixelHeight() override { return Geometry().Height(); }
  std::unique_ptr<SkySurface> CreateSkySurface() override;
  void SuspendBlanker(bool) override {}

  wl_display* Display() const { return display_; }
  wl_compositor* Compositor() const { return compositor_; }
  wl_shm* Shm() const { return shm_; }
  zwlr_layer_shell_v1* LayerShell() const { return layer_shell_; }
  xdg_wm_base* WmBase() const { return wm_base_; }

  const std::vector<std::unique_ptr<Output>>& Outputs() const { return outputs_; }
  // The sky over the outputs described and not removed.
  SkyGeometry Geometry() const;
  // Whether outputs came, went or changed since the last call.
  bool TakeLayoutChange();
  // Forgets the outputs the compositor removed; their surfaces must be gone.
  void DropGoneOutputs();
  void SetSeatListener(SeatListener* listener);

  // Sends what waits, reads what came without waiting, runs the handlers.
  void ReadEvents();
  // Sends what waits, then sleeps until the compositor sends something, an
  // ending signal comes or the deadline passes, and runs the handlers.
  // False when the deadline passed with nothing.
  bool WaitForEvents(std::int64_t deadline_micros);
  void Send();
  void Roundtrip();
  // Reports how the connection ended, and ends the process.
  [[noreturn]] void Lost();

  void Global(std::uint32_t name, const char* interface, std::uint32_t version);
  void GlobalRemove(std::uint32_t name);

 private:
  explicit WaylandClient(wl_display* display);
  int Dispatch();
  int PrepareRead();

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

}  // namespace mofu::wayland
