#pragma once

#include <X11/Xlib.h>

#include "platform/linux/instance_lock.hpp"

namespace mofu::x11 {

// The single-copy lock where no lock file can be had: an X selection named
// after the user and the lock's name, owned by a connection of its own. The
// server drops it when the process ends.
class SelectionLock final : public linux_os::LockFallback {
 public:
  ~SelectionLock() override;
  linux_os::LockOutcome Take(const std::string& name) override;

 private:
  Display* display_ = nullptr;
};

}  // namespace mofu::x11
