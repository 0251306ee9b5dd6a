#include "platform/wayland/event_wait.hpp"

#include <poll.h>
#include <time.h>
#include <wayland-client.h>

#include <cerrno>

#include "platform/linux/exit_signals.hpp"
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

std::int64_t MonotonicMicros() {
  struct timespec now {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

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
    const std::int64_t left = deadline_micros - MonotonicMicros();
    if (left <= 0) {
      wl_display_cancel_read(display);
      return false;
    }
    struct pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0},
                            {linux_os::ExitSignals::WakeFd(), POLLIN, 0}};
    struct timespec timeout = {static_cast<time_t>(left / 1'000'000),
                               static_cast<long>(left % 1'000'000) * 1000};
    const int ready = ppoll(fds, 2, &timeout, nullptr);
    if (ready <= 0) {
      wl_display_cancel_read(display);
      if (ready < 0 && errno == EINTR) continue;
      return false;
    }
    if (fds[0].revents != 0) {
      // A hang-up shows here as a failed read.
      if (wl_display_read_events(display) < 0) DisplayLost(display);
    } else {
      wl_display_cancel_read(display);
    }
    const int handled = Dispatch(display);
    if (fds[1].revents != 0 || handled > 0) return true;
  }
}

}  // namespace mofu::wayland
