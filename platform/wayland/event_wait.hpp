#pragma once

#include <cstdint>

struct wl_display;

namespace mofu::wayland {

// Sends what waits to be sent, reads what the compositor has sent without
// waiting for more, and runs the handlers.
void ReadEvents(wl_display* display);

// Sends what waits to be sent, then sleeps until the compositor sends
// something, an ending signal comes or the deadline passes, and runs the
// handlers of what came. False when the deadline passed with nothing.
bool WaitForEvents(wl_display* display, std::int64_t deadline_micros);

}  // namespace mofu::wayland
