#pragma once

#include <cstdint>

#include "platform/wayland/sky_geometry.hpp"

struct wl_output;
struct zxdg_output_v1;
struct zxdg_output_manager_v1;

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

  std::uint32_t Global() const { return global_; }
  wl_output* Handle() const { return output_; }
  OutputPlace Place() const;
  // The current mode's refresh interval; 0 when the compositor does not say.
  std::int64_t RefreshMicros() const { return refresh_mhz > 0 ? 1'000'000'000 / refresh_mhz : 0; }
  // The compositor has described it completely at least once.
  bool Ready() const { return ready_; }
  // A description is complete: whether it changed anything shows in `changed`.
  void Done();

  // What the compositor says, as it says it.
  int x = 0, y = 0, transform = 0, scale = 1;
  int mode_width = 0, mode_height = 0, refresh_mhz = 0;
  Rect logical;  // from xdg-output, when has_logical
  bool has_logical = false;
  // Set when a complete description changed something; the reader clears it.
  bool changed = false;
  // The compositor took it away; it lingers until its surface is gone.
  bool gone = false;

 private:
  std::uint32_t global_;
  wl_output* output_;
  zxdg_output_v1* xdg_ = nullptr;
  bool ready_ = false;
  OutputPlace last_;
  int last_refresh_mhz_ = 0;
};

}  // namespace mofu::wayland
