#include "platform/x11/selection_lock.hpp"

#include <unistd.h>

#include <string>

namespace mofu::x11 {

SelectionLock::~SelectionLock() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

// Checking for an owner and taking the selection happen with the server
// grabbed, so two copies starting together cannot both find it free.
linux_os::LockOutcome SelectionLock::Take(const std::string& name) {
  using linux_os::LockOutcome;
  display_ = XOpenDisplay(nullptr);
  if (display_ == nullptr) return LockOutcome::kNoWay;
  const std::string atom_name = "_MOFU_INSTANCE_" + std::to_string(geteuid()) + "_" + name;
  const Atom selection = XInternAtom(display_, atom_name.c_str(), False);
  XSetWindowAttributes attributes{};
  const Window owner = XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0,
                                     InputOnly, CopyFromParent, 0, &attributes);
  XGrabServer(display_);
  const bool free = XGetSelectionOwner(display_, selection) == None;
  if (free) XSetSelectionOwner(display_, selection, owner, CurrentTime);
  XUngrabServer(display_);
  XSync(display_, False);
  if (free && XGetSelectionOwner(display_, selection) == owner) return LockOutcome::kOurs;
  return free ? LockOutcome::kNoWay : LockOutcome::kTheirs;
}

}  // namespace mofu::x11
