// The hack-mode half of X11SkySurface: drawing into a window that a
// screen-saver daemon (or its settings app's preview) hands over.
#include <cstdio>
#include <string>

#include "platform/runtime_error.hpp"
#include "platform/x11/exit_signals.hpp"
#include "platform/x11/handed_window.hpp"
#include "platform/x11/x11_sky_surface.hpp"

namespace mofu::x11 {

X11SkySurface::X11SkySurface(Display* display, Window handed)
    : display_(display), handed_(true), window_(handed) {
  HandedWindow::Watch(window_);
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display_, window_, &attributes) == 0 || HandedWindow::Gone()) {
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", window_);
    throw RuntimeError(ErrorNumber::kPathFileAccess, std::string("no window ") + id);
  }
  width_ = attributes.width;
  height_ = attributes.height;
  visual_ = attributes.visual;
  depth_ = attributes.depth;
  direct_pixels_ = depth_ >= 24 && visual_->red_mask == 0xFF0000 &&
                   visual_->green_mask == 0x00FF00 && visual_->blue_mask == 0x0000FF;
  // Size changes, loss of the window and repaints: never input, which is
  // the daemon's.
  XSelectInput(display_, window_, ExposureMask | StructureNotifyMask);
  XGCValues values{};
  values.graphics_exposures = False;
  gc_ = XCreateGC(display_, window_, GCGraphicsExposures, &values);
  ExitSignals::Install();
}

bool X11SkySurface::HandedWindowEnds() const {
  return ExitSignals::Raised() || HandedWindow::Gone();
}

}  // namespace mofu::x11
