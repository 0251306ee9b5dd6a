#pragma once

#include <cstdint>
#include <string>

#include "runtime/rect.hpp"

struct wl_output;
struct zxdg_output_v1;
struct zxdg_output_manager_v1;

struct wl_output_listener;
struct zxdg_output_v1_listener;

namespace mofu::wayland {

// One output (monitor) of the compositor and where it lies on the desktop.
// xdg-output gives the logical rectangle directly; without it the rectangle
// is derived from the output's position, mode, transform and scale.
class Output {
 public:
  Output(std::uint32_t global, wl_output* output, zxdg_output_manager_v1* xdg_manager);
  ~Output();
  // Asks for the logical rectangle, where the compositor can tell it.
  void UseXdgOutput(zxdg_output_manager_v1* manager);
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  std::uint32_t Global() const { return global_; }
  wl_output* Handle() const { return output_; }
  const std::string& Name() const { return name_; }
  Rect Logical() const;
  int Scale() const { return scale_; }
  // The compositor has described it completely at least once.
  bool Ready() const { return ready_; }
  // Set whenever a complete description changed something; the reader
  // clears it.
  bool changed = false;
  // The compositor took it away; it lingers until its surface is gone.
  bool gone = false;

 private:
  static const ::wl_output_listener kListener;
  static const ::zxdg_output_v1_listener kXdgListener;
  void Done();

  std::uint32_t global_;
  wl_output* output_;
  zxdg_output_v1* xdg_ = nullptr;
  std::string name_;
  int x_ = 0, y_ = 0;
  int mode_width_ = 0, mode_height_ = 0;
  int transform_ = 0;
  int scale_ = 1;
  Rect logical_;  // from xdg-output
  bool has_logical_ = false;
  bool ready_ = false;
  Rect last_;
  int last_scale_ = 1;
};

}  // namespace mofu::wayland
