#include "platform/x11/daemon_window.hpp"

#include <cstdio>
#include <memory>
#include <string>

#include "platform/linux/exit_signals.hpp"
#include "platform/x11/daemon_window_watch.hpp"
#include "runtime/runtime_error.hpp"

namespace mofu::x11 {

std::unique_ptr<DaemonWindow> DaemonWindow::Open(Display* display, Window window) {
  DaemonWindowWatch::Watch(window);
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display, window, &attributes) == 0 || DaemonWindowWatch::Gone()) {
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", window);
    throw RuntimeError(ErrorNumber::kPathFileAccess, std::string("no window ") + id);
  }
  return std::unique_ptr<DaemonWindow>(new DaemonWindow(display, window, attributes));
}

DaemonWindow::DaemonWindow(Display* display, Window window, const XWindowAttributes& attributes)
    : X11Surface(display, window, attributes.width, attributes.height, attributes.visual,
                 attributes.depth) {
  // Size changes, loss of the window and repaints: never input, which is
  // the daemon's.
  XSelectInput(display_, window_, ExposureMask | StructureNotifyMask);
  linux_os::ExitSignals::Install();
}

void DaemonWindow::Dispatch(const XEvent& event, SkyInput& input) {
  switch (event.type) {
    case ConfigureNotify:
      if (event.xconfigure.window != window_) break;
      if (event.xconfigure.width == Width() && event.xconfigure.height == Height()) break;
      SetSize(event.xconfigure.width, event.xconfigure.height);
      input.Resized();
      break;
    case DestroyNotify:
      if (event.xdestroywindow.window == window_) input.CloseRequested();
      break;
    default:
      break;
  }
}

bool DaemonWindow::Ending() const {
  return linux_os::ExitSignals::Raised() || DaemonWindowWatch::Gone();
}

int DaemonWindow::WakeFd() const { return linux_os::ExitSignals::WakeFd(); }

}  // namespace mofu::x11
