#pragma once

namespace mofu::wayland {

// Whether the saver tries a Wayland compositor before X11: only where one is
// named, and never in hack mode, where the window it draws in is an X one.
// A named compositor that does not answer still leaves X11 to try.
inline bool TryWayland(const char* wayland_display, bool hack_mode) {
  return !hack_mode && wayland_display != nullptr && wayland_display[0] != '\0';
}

}  // namespace mofu::wayland
