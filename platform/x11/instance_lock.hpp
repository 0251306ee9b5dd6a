#pragma once

namespace mofu::x11 {

// One copy per user: an exclusive flock on a file in the runtime folder. The
// lock lives as long as the process, and the kernel drops it however the
// process ends, so a crash never leaves a stale lock behind.
class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when another copy holds the lock.
  bool HeldElsewhere();

 private:
  int fd_ = -1;
  bool tested_ = false;
  bool held_elsewhere_ = false;
};

}  // namespace mofu::x11
