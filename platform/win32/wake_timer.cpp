#include "platform/win32/wake_timer.hpp"

namespace mofu::win32 {
namespace {

// Windows 10 1803 and later; older systems refuse the flag.
constexpr DWORD kHighResolution = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION

DWORD Milliseconds(std::int64_t micros) { return static_cast<DWORD>((micros + 999) / 1000); }

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

WakeTimer::WakeTimer() {
  if (UnderWine()) return;
  timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolution, TIMER_ALL_ACCESS);
  if (timer_ == nullptr) period_raised_ = timeBeginPeriod(1) == TIMERR_NOERROR;
}

WakeTimer::~WakeTimer() {
  if (timer_ != nullptr) CloseHandle(timer_);
  if (period_raised_) timeEndPeriod(1);
}

bool WakeTimer::WaitForMessage(std::int64_t micros) {
  const DWORD milliseconds = Milliseconds(micros);
  if (timer_ != nullptr) {
    LARGE_INTEGER due;
    due.QuadPart = -micros * 10;  // relative, in units of 100 ns
    if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) {
      // The timeout only guards against a timer that never fires.
      return MsgWaitForMultipleObjectsEx(1, &timer_, milliseconds + 16, QS_ALLINPUT,
                                         MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 + 1;
    }
  }
  return MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
         WAIT_OBJECT_0;
}

}  // namespace mofu::win32
