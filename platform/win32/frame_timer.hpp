#pragma once

#include <cstdint>

#include "platform/win32/windows_api.hpp"

namespace mofu::win32 {

// Waits for the saver's next frame, or for a message, whichever comes first,
// with about a millisecond's precision. A high-resolution waitable timer
// gives that to this wait alone; where the system has none, the system timer
// is raised to a millisecond instead, for as long as the saver runs, since
// that costs power system-wide.
class FrameTimer {
 public:
  FrameTimer();
  ~FrameTimer();
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;

  // True when a message ended the wait.
  bool WaitForMessage(std::int64_t micros);

 private:
  HANDLE timer_ = nullptr;
};

}  // namespace mofu::win32
