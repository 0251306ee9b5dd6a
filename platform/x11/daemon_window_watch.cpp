#include "platform/x11/daemon_window_watch.hpp"

#include <unistd.h>

#include <cstdio>

namespace mofu::x11 {
namespace {

Window watched = 0;
bool gone = false;

int OnError(Display* display, XErrorEvent* error) {
  if (error->resourceid == watched &&
      (error->error_code == BadWindow || error->error_code == BadDrawable)) {
    gone = true;
    return 0;
  }
  char text[128] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "mofu: X error: %s (request %d)\n", text, error->request_code);
  return 0;
}

// Xlib ends the process if this returns; the display is gone, and so is the
// window, so there is nothing left to clean up.
int OnDisplayLost(Display*) { _exit(0); }

}  // namespace

void DaemonWindowWatch::Watch(Window window) {
  watched = window;
  gone = false;
  XSetErrorHandler(OnError);
  XSetIOErrorHandler(OnDisplayLost);
}

bool DaemonWindowWatch::Gone() { return gone; }

}  // namespace mofu::x11
