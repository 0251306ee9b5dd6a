#pragma once

#include <cstdint>

#include "platform/win32/windows_api.hpp"

namespace mofu::win32 {

// Waits until a given moment, or for a message, whichever comes first. The
// moments are the cat's steps, which must go on screen when they happen: a
// high-resolution waitable timer is set to each one, since a plain timeout
// is only as fine as the system timer (about 16 ms unless raised). Where the
// system has no such timer, the system timer is raised to a millisecond
// instead, for as long as the saver runs, since that costs power
// system-wide. Under Wine a plain timeout is already as fine as a
// millisecond, and the timer would cost two more calls to the server each
// wake-up (arming it, and the message mask Wine sends again after any wait
// that an object ended): there the timeout alone does.
class WakeTimer {
 public:
  WakeTimer();
  ~WakeTimer();
  WakeTimer(const WakeTimer&) = delete;
  WakeTimer& operator=(const WakeTimer&) = delete;

  // Waits `micros` at most. True when a message ended the wait.
  bool WaitForMessage(std::int64_t micros);

 private:
  HANDLE timer_ = nullptr;
  bool period_raised_ = false;
};

}  // namespace mofu::win32
