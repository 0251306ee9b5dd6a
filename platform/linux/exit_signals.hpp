#pragma once

namespace mofu::linux_os {

// A screen-saver daemon ends its hack with SIGTERM (a terminal with SIGINT,
// a closing session with SIGHUP). The handlers only note the signal and wake
// the event wait, so the saver ends through its own unload, at once.
class ExitSignals {
 public:
  static void Install();
  static bool Raised();
  // Readable once a signal has come; -1 before Install.
  static int WakeFd();
};

}  // namespace mofu::linux_os
