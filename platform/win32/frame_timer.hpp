#pragma once

#include <cstdint>

#include "platform/win32/windows_api.hpp"

namespace mofu::win32 {

// Waits for the saver's next frame, or for a message, whichever comes first.
// A high-resolution waitable timer ticks once a frame by itself, so a wait
// costs one call into the system rather than one to set the timer and one
// to wait on it. Where the system has no such timer, the system timer is
// raised to a millisecond instead, for as long as the saver runs, since
// that costs power system-wide.
class FrameTimer {
 public:
  explicit FrameTimer(std::int64_t frame_micros);
  ~FrameTimer();
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;

  // Waits at most `micros`, and with the ticking timer no longer than to its
  // next tick, which may come sooner: a caller that is still early just
  // waits again. True when a message ended the wait.
  bool WaitForMessage(std::int64_t micros);

 private:
  HANDLE timer_ = nullptr;
};

}  // namespace mofu::win32
