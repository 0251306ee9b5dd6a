#include "platform/win32/frame_timer.hpp"

namespace mofu::win32 {
namespace {

// Windows 10 1803 and later; older systems refuse the flag.
constexpr DWORD kHighResolution = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION

DWORD Milliseconds(std::int64_t micros) { return static_cast<DWORD>((micros + 999) / 1000); }

}  // namespace

FrameTimer::FrameTimer(std::int64_t frame_micros)
    : timer_(CreateWaitableTimerExW(nullptr, nullptr, kHighResolution, TIMER_ALL_ACCESS)) {
  if (timer_ != nullptr) {
    LARGE_INTEGER due;
    due.QuadPart = -frame_micros * 10;  // relative, in units of 100 ns
    const auto period = static_cast<LONG>(Milliseconds(frame_micros));
    if (!SetWaitableTimer(timer_, &due, period, nullptr, nullptr, FALSE)) {
      CloseHandle(timer_);
      timer_ = nullptr;
    }
  }
  if (timer_ == nullptr) timeBeginPeriod(1);
}

FrameTimer::~FrameTimer() {
  if (timer_ != nullptr) {
    CloseHandle(timer_);
  } else {
    timeEndPeriod(1);
  }
}

bool FrameTimer::WaitForMessage(std::int64_t micros) {
  const DWORD milliseconds = Milliseconds(micros);
  if (timer_ != nullptr) {
    // A tick that came while the loop ran is still pending and ends this
    // wait at once; the next one then waits for the tick after it.
    return MsgWaitForMultipleObjectsEx(1, &timer_, milliseconds, QS_ALLINPUT,
                                       MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 + 1;
  }
  return MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
         WAIT_OBJECT_0;
}

}  // namespace mofu::win32
