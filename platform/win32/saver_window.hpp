#pragma once

#include "platform/sky_surface.hpp"
#include "platform/win32/windows_api.hpp"

namespace mofu::win32 {

// The saver's borderless black window over the whole primary screen. It
// keeps no picture of its own: the runtime's sky is copied in with Blit and
// asked for again when Windows has lost part of it.
class SaverWindow final : public SkySurface {
 public:
  explicit SaverWindow(HINSTANCE instance);
  ~SaverWindow() override;
  SaverWindow(const SaverWindow&) = delete;
  SaverWindow& operator=(const SaverWindow&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(window_); }
  void Show() override;
  void Hide() override;
  void Blit(const Rect& rect, const std::uint32_t* pixels, int stride) override;
  void Flush() override;
  void PumpEvents(SkyInput& input) override;
  std::int64_t NowMicros() override;
  bool WaitForInput(std::int64_t deadline_micros) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnPaint();

  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  LARGE_INTEGER counter_frequency_{};
  // Set only while PumpEvents delivers: input has nowhere to go otherwise.
  SkyInput* input_ = nullptr;
  static constexpr std::int64_t kLookEveryMicros = 1'000;
  std::int64_t last_look_micros_ = 0;
  bool input_seen_ = false;
};

}  // namespace mofu::win32
