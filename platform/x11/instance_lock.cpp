#include "platform/x11/instance_lock.hpp"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/x11/private_folder.hpp"

namespace mofu::x11 {
namespace {

// The name becomes a file name and part of an atom's name.
std::string Sanitised(std::string name) {
  for (char& c : name) {
    if (c == '/' || c == '\0') c = '_';
  }
  return name;
}

}  // namespace

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);
  if (display_ != nullptr) XCloseDisplay(display_);
}

bool InstanceLock::HeldElsewhere() {
  if (tested_) return held_elsewhere_;
  tested_ = true;
  Outcome outcome = LockFile();
  if (outcome == Outcome::kNoWay && x_selection_) outcome = LockSelection();
  held_elsewhere_ = outcome != Outcome::kOurs;
  return held_elsewhere_;
}

InstanceLock::Outcome InstanceLock::LockFile() {
  const int folder = OpenPrivateFolder();
  if (folder < 0) return Outcome::kNoWay;
  const std::string file = Sanitised(name_) + ".lock";
  fd_ = openat(folder, file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  close(folder);
  if (fd_ < 0) return Outcome::kNoWay;
  struct stat status {};
  if (fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) return Outcome::kNoWay;
  for (;;) {
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0) return Outcome::kOurs;
    if (errno == EWOULDBLOCK) return Outcome::kTheirs;
    if (errno != EINTR) return Outcome::kNoWay;
  }
}

// Checking for an owner and taking the selection happen with the server
// grabbed, so two copies starting together cannot both find it free.
InstanceLock::Outcome InstanceLock::LockSelection() {
  display_ = XOpenDisplay(nullptr);
  if (display_ == nullptr) return Outcome::kNoWay;
  const std::string name = "_MOFU_INSTANCE_" + std::to_string(geteuid()) + "_" + Sanitised(name_);
  const Atom selection = XInternAtom(display_, name.c_str(), False);
  XSetWindowAttributes attributes{};
  const Window owner = XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0,
                                     InputOnly, CopyFromParent, 0, &attributes);
  XGrabServer(display_);
  const bool free = XGetSelectionOwner(display_, selection) == None;
  if (free) XSetSelectionOwner(display_, selection, owner, CurrentTime);
  XUngrabServer(display_);
  XSync(display_, False);
  if (free && XGetSelectionOwner(display_, selection) == owner) return Outcome::kOurs;
  return free ? Outcome::kNoWay : Outcome::kTheirs;
}

}  // namespace mofu::x11
