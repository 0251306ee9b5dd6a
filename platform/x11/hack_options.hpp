#pragma once

#include <optional>
#include <string>

namespace mofu::x11 {

// Where a screen-saver daemon asks the saver to draw: the window it hands
// over, or the root window. The daemon then owns that window and all input.
struct HackTarget {
  bool root = false;         // the root window of the default screen
  unsigned long window = 0;  // otherwise this window

  // "root" or the window's id in hex, for messages and the lock's name.
  std::string Describe() const;
};

// The hack options among the arguments, as XScreenSaver's own hacks take
// them: --root (the window in XSCREENSAVER_WINDOW when it is set, else the
// root window) or --window-id ID (decimal or 0x hex); one dash works too.
// No hack option means the standalone saver (nullopt). A bad window id
// leaves `error` set.
std::optional<HackTarget> FindHackTarget(int argc, char** argv, const char* xscreensaver_window,
                                         std::string& error);

}  // namespace mofu::x11
