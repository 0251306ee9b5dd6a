#pragma once

#include <string>

struct _XDisplay;  // Xlib's Display, kept out of the includers' way

namespace mofu::x11 {

// One copy per user and name ("mofu", or one name per window the saver is
// handed). First choice: an exclusive flock on <name>.lock in a folder only
// this user can reach (see OpenPrivateFolder). The kernel drops it however
// the process ends, so a crash never leaves a stale lock behind. When no such
// folder or file can be had, the lock is an X selection named after the user
// and the name, owned by a connection of its own: the server drops it when
// the process ends. When neither can be had, the answer is that another copy
// runs: two copies must never run side by side. A saver on Wayland goes
// without the selection: connecting to X there could start Xwayland just to
// take a lock.
class InstanceLock {
 public:
  explicit InstanceLock(std::string name = "mofu", bool x_selection = true)
      : name_(std::move(name)), x_selection_(x_selection) {}
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when another copy holds the lock, or when there is no way to tell.
  bool HeldElsewhere();

 private:
  enum class Outcome { kOurs, kTheirs, kNoWay };
  Outcome LockFile();
  Outcome LockSelection();

  std::string name_;
  bool x_selection_;
  int fd_ = -1;
  _XDisplay* display_ = nullptr;
  bool tested_ = false;
  bool held_elsewhere_ = false;
};

}  // namespace mofu::x11
