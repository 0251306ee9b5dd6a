#pragma once

#include <memory>
#include <string>

namespace mofu::linux_os {

// What a second way of telling whether another copy runs can answer.
enum class LockOutcome { kOurs, kTheirs, kNoWay };

// A second way, for when no lock file can be had (a display's own kind of
// lock, say). It keeps whatever it took until it is destroyed.
class LockFallback {
 public:
  virtual ~LockFallback() = default;
  // `name` is already safe to use as a file name.
  virtual LockOutcome Take(const std::string& name) = 0;
};

// One copy per user and name ("mofu", or one name per window the saver is
// handed). First choice: an exclusive flock on <name>.lock in a folder only
// this user can reach (see OpenPrivateFolder). The kernel drops it however
// the process ends, so a crash never leaves a stale lock behind. When no such
// folder or file can be had, the fallback decides, if there is one. When
// neither can be had, the answer is that another copy runs: two copies must
// never run side by side.
class InstanceLock {
 public:
  explicit InstanceLock(std::string name = "mofu", std::unique_ptr<LockFallback> fallback = nullptr)
      : name_(std::move(name)), fallback_(std::move(fallback)) {}
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when another copy holds the lock, or when there is no way to tell.
  bool HeldElsewhere();

 private:
  LockOutcome LockFile();

  std::string name_;
  std::unique_ptr<LockFallback> fallback_;
  int fd_ = -1;
  bool tested_ = false;
  bool held_elsewhere_ = false;
};

}  // namespace mofu::linux_os
