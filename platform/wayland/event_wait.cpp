#include "platform/wayland/event_wait.hpp"

#include <poll.h>
#include <wayland-client.h>

#include <cerrno>

#include "platform/linux/exit_signals.hpp"
#include "platform/linux/wait.hpp"
#include "platform/wayland/wayland_client.hpp"

namespace mofu::wayland {
namespace {

// A full socket (EAGAIN) empties as the compositor reads; anything else
// means the connection is gone.
void Send(wl_display* display) {
  if (wl_display_flush(display) < 0 && errno != EAGAIN) DisplayLost(display);
}

int Dispatch(wl_display* display) {
  const int handled = wl_display_dispatch_pending(display);
  if (handled < 0) DisplayLost(display);
  return handled;
}

// Libwayland's queue must be empty before reading the socket; whatever was
// in it has just been handled.
int PrepareRead(wl_display* display) {
  int handled = 0;
  while (wl_display_prepare_read(display) != 0) handled += Dispatch(display);
  return handled;
}

}  // namespace

void ReadEvents(wl_display* display) {
  Send(display);
  PrepareRead(display);
  struct pollfd fd = {wl_display_get_fd(display), POLLIN, 0};
  if (poll(&fd, 1, 0) > 0) {
    if (wl_display_read_events(display) < 0) DisplayLost(display);
  } else {
    wl_display_cancel_read(display);
  }
  Dispatch(display);
}

bool WaitForEvents(wl_display* display, std::int64_t deadline_micros) {
  for (;;) {
    if (PrepareRead(display) > 0) {
      wl_display_cancel_read(display);
      return true;
    }
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
      wl_display_cancel_read(display);
      DisplayLost(display);
    }
    const linux_os::Woke woke = linux_os::WaitReadable(
        wl_display_get_fd(display), linux_os::ExitSignals::WakeFd(), deadline_micros);
    if (woke == linux_os::Woke::kConnection) {
      // A hang-up shows here as a failed read.
      if (wl_display_read_events(display) < 0) DisplayLost(display);
    } else {
      wl_display_cancel_read(display);
      if (woke == linux_os::Woke::kDeadline) return false;
    }
    const int handled = Dispatch(display);
    if (woke == linux_os::Woke::kWakeFd || handled > 0) return true;
  }
}

}  // namespace mofu::wayland
