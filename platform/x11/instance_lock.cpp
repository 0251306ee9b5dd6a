#include "platform/x11/instance_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace mofu::x11 {
namespace {

std::string LockPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0') return std::string(runtime) + "/mofu.lock";
  const char* tmp = std::getenv("TMPDIR");
  const std::string folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  return folder + "/mofu-" + std::to_string(getuid()) + ".lock";
}

}  // namespace

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);
}

bool InstanceLock::HeldElsewhere() {
  if (tested_) return held_elsewhere_;
  tested_ = true;
  fd_ = open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // Without a lock file there is no way to tell; running is kinder than not.
  if (fd_ < 0) return false;
  while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    held_elsewhere_ = errno == EWOULDBLOCK;
    break;
  }
  return held_elsewhere_;
}

}  // namespace mofu::x11
