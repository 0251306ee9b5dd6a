#pragma once

#include <X11/Xlib.h>

namespace mofu::x11 {

// The window a screen-saver daemon handed to the saver belongs to the daemon,
// which may destroy it, or lose its display, at any moment. Either ends the
// saver quietly (status 0) instead of through Xlib's fatal error reports.
class DaemonWindowWatch {
 public:
  // Installs the process's X error handlers; call before touching the window.
  static void Watch(Window window);
  // True once the server said the window no longer exists.
  static bool Gone();
};

}  // namespace mofu::x11
