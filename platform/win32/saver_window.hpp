#pragma once

#include "platform/win32/virtual_desktop.hpp"
#include "platform/win32/wake_timer.hpp"
#include "platform/win32/windows_api.hpp"
#include "runtime/queue_peeks.hpp"
#include "runtime/sky_surface.hpp"

namespace mofu::win32 {

// The saver's borderless black window over every monitor. It
// keeps no picture of its own: the runtime's sky is copied in with Blit and
// asked for again when Windows has lost part of it.
class SaverWindow final : public SkySurface {
 public:
  SaverWindow(HINSTANCE instance, VirtualDesktop& desktop);
  ~SaverWindow() override;
  SaverWindow(const SaverWindow&) = delete;
  SaverWindow& operator=(const SaverWindow&) = delete;

  int Width() const override { return desktop_.Area().width; }
  int Height() const override { return desktop_.Area().height; }
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(window_); }
  void Show() override;
  void Hide() override;
  void Blit(const Rect& rect, const std::uint32_t* pixels, int stride) override;
  void Flush() override;
  void PumpEvents(SkyInput& input, std::int64_t now_micros) override;
  std::int64_t NowMicros() override;
  bool WaitForInput(std::int64_t deadline_micros) override;
  void KeepOnTop() override;
  std::int64_t RefreshMicros() override;
  void SetPointerHidden(bool hidden) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnPaint();
  void OnWheel(LPARAM lparam);
  void FitDesktop();
  void Cover();  // places the window over the whole desktop as last read

  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  VirtualDesktop& desktop_;
  // Seen whenever it comes; acted on while input has somewhere to go.
  bool display_changed_ = false;
  LARGE_INTEGER counter_frequency_{};
  // Set only while PumpEvents delivers: input has nowhere to go otherwise.
  SkyInput* input_ = nullptr;
  QueuePeeks peeks_;
  WakeTimer wake_timer_;
};

}  // namespace mofu::win32
