#pragma once

#include <memory>

#include "platform/x11/x11_surface.hpp"

namespace mofu::x11 {

// Hack mode: the sky drawn into a window a screen-saver daemon (or its
// settings app's preview) hands over. Nothing is created, mapped, raised or
// grabbed and no input is read: those are the daemon's. The sky follows the
// window's size, and the saver ends when the window goes or a signal comes.
class DaemonWindow final : public X11Surface {
 public:
  static std::unique_ptr<DaemonWindow> Open(Display* display, Window window);

  void Show() override {}
  void Hide() override {}

 private:
  DaemonWindow(Display* display, Window window, const XWindowAttributes& attributes);

  void Dispatch(const XEvent& event, SkyInput& input) override;
  bool Ending() const override;
  int WakeFd() const override;
};

}  // namespace mofu::x11
