#include "platform/linux/instance_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/private_folder.hpp"

namespace mofu::linux_os {
namespace {

// The name becomes a file name, and the fallback's name for its lock.
std::string Sanitised(std::string name) {
  for (char& c : name) {
    if (c == '/' || c == '\0') c = '_';
  }
  return name;
}

}  // namespace

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);
}

bool InstanceLock::HeldElsewhere() {
  if (tested_) return held_elsewhere_;
  tested_ = true;
  LockOutcome outcome = LockFile();
  if (outcome == LockOutcome::kNoWay && fallback_) outcome = fallback_->Take(Sanitised(name_));
  held_elsewhere_ = outcome != LockOutcome::kOurs;
  return held_elsewhere_;
}

LockOutcome InstanceLock::LockFile() {
  const int folder = OpenPrivateFolder();
  if (folder < 0) return LockOutcome::kNoWay;
  const std::string file = Sanitised(name_) + ".lock";
  fd_ = openat(folder, file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  close(folder);
  if (fd_ < 0) return LockOutcome::kNoWay;
  struct stat status {};
  if (fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) return LockOutcome::kNoWay;
  for (;;) {
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0) return LockOutcome::kOurs;
    if (errno == EWOULDBLOCK) return LockOutcome::kTheirs;
    if (errno != EINTR) return LockOutcome::kNoWay;
  }
}

}  // namespace mofu::linux_os
