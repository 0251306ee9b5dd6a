#include "platform/x11/x11_display.hpp"

#include <X11/extensions/scrnsaver.h>

#include <cstdlib>

#include "platform/x11/daemon_window.hpp"
#include "platform/x11/selection_lock.hpp"
#include "platform/x11/standalone_window.hpp"
#include "runtime/runtime_error.hpp"

namespace mofu::x11 {

X11Display::~X11Display() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

// One copy per window in hack mode: a daemon runs one on each monitor.
// Window ids repeat across X servers, so the display is part of the name.
std::string X11Display::InstanceName() const {
  if (!hack_) return "mofu";
  const char* display = std::getenv("DISPLAY");
  return "mofu-window-" + std::string(display != nullptr ? display : "") + "-" + hack_->Describe();
}

std::unique_ptr<linux_os::LockFallback> X11Display::MakeLockFallback() {
  return std::make_unique<SelectionLock>();
}

Display* X11Display::Open() {
  if (display_ == nullptr) {
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) {
      throw RuntimeError(ErrorNumber::kPathFileAccess, "cannot open the X display");
    }
  }
  return display_;
}

int X11Display::ScreenPixelWidth() {
  Display* d = Open();
  return DisplayWidth(d, DefaultScreen(d));
}

int X11Display::ScreenPixelHeight() {
  Display* d = Open();
  return DisplayHeight(d, DefaultScreen(d));
}

std::unique_ptr<SkySurface> X11Display::CreateSkySurface() {
  Display* d = Open();
  if (!hack_) return StandaloneWindow::Create(d);
  return DaemonWindow::Open(d, hack_->root ? RootWindow(d, DefaultScreen(d)) : hack_->window);
}

// The server lifts the hold by itself if the process dies, so the desktop is
// never left without its blanker. A daemon's hack leaves the blanker to the
// daemon.
void X11Display::SuspendBlanker(bool suspend) {
  if (display_ == nullptr || hack_) return;
  XScreenSaverSuspend(display_, suspend ? True : False);
  XFlush(display_);
}

}  // namespace mofu::x11
