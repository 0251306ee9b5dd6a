#pragma once

#include <X11/Xlib.h>

#include "platform/posix/instance_lock.hpp"

namespace mofu::x11 {

// The single-copy lock where no lock file can be had: an X selection named
// after the user and the lock's name, owned by a connection of its own. The
// server drops it when the process ends.
class SelectionLock final : public posix::LockFallback {
 public:
  ~SelectionLock() override;
  posix::LockOutcome Take(const std::string& name) override;

 private:
  Display* display_ = nullptr;
};

}  // namespace mofu::x11
