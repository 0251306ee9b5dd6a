#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/linux/display_part.hpp"
#include "platform/wayland/seat.hpp"
#include "platform/wayland/sky_geometry.hpp"

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct xdg_wm_base;
struct zwlr_layer_shell_v1;
struct zxdg_output_manager_v1;
struct wl_output;
struct zxdg_output_v1;

namespace mofu::wayland {

// One output (monitor) and where it lies on the desktop. xdg-output tells
// the logical rectangle; without it, it follows from the position, mode,
// transform and scale.
class Output {
 public:
  Output(std::uint32_t global, wl_output* output, zxdg_output_manager_v1* xdg_manager);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  // Asks for the logical rectangle, where the compositor can tell it.
  void UseXdgOutput(zxdg_output_manager_v1* manager);

  OutputPlace Place() const;
  // The current mode's refresh interval; 0 when the compositor does not say.
  std::int64_t RefreshMicros() const { return refresh_mhz > 0 ? 1'000'000'000 / refresh_mhz : 0; }
  // A description is complete: whether it changed anything shows in `changed`.
  void Done();

  const std::uint32_t global;
  wl_output* const handle;
  // The compositor has described it completely at least once.
  bool ready = false;
  // What the compositor says, as it says it.
  int x = 0, y = 0, transform = 0, scale = 1;
  int mode_width = 0, mode_height = 0, refresh_mhz = 0;
  Rect logical;  // from xdg-output, where the compositor has it
  // Set when a complete description changed something; the reader clears it.
  bool changed = false;
  // The compositor took it away; it lingers until its surface is gone.
  bool gone = false;

 private:
  zxdg_output_v1* xdg_ = nullptr;
  OutputPlace last_;
  int last_refresh_mhz_ = 0;
};

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

  // The globals, bound as the compositor announces them.
  wl_compositor* compositor = nullptr;
  wl_shm* shm = nullptr;
  xdg_wm_base* wm_base = nullptr;
  zwlr_layer_shell_v1* layer_shell = nullptr;

  const std::vector<std::unique_ptr<Output>>& Outputs() const { return outputs_; }
  // The sky over the outputs described and not removed.
  SkyGeometry Geometry() const;
  // Forgets the outputs the compositor removed; their surfaces must be gone.
  void DropGoneOutputs();
  void SetSeatInput(InputTrack* input);

  // Sends what waits, then sleeps until the compositor sends something, an
  // ending signal comes or the deadline passes (at once for kLookOnly), and
  // runs the handlers. False when the deadline passed with nothing.
  bool WaitForEvents(std::int64_t deadline_micros);
  static constexpr std::int64_t kLookOnly = -1;
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
  zxdg_output_manager_v1* xdg_output_manager_ = nullptr;
  std::vector<std::unique_ptr<Output>> outputs_;
  std::vector<std::unique_ptr<Seat>> seats_;
  InputTrack* seat_input_ = nullptr;
};

}  // namespace mofu::wayland
