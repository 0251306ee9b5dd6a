#pragma once

#include <X11/Xlib.h>

#include "platform/queue_looks.hpp"
#include "platform/sky_surface.hpp"

namespace mofu::x11 {

// The saver's window on plain Xlib: override-redirect, covering the whole
// screen, black. Its pointer is a blank cursor while the pointer is hidden.
// In hack mode it is a window handed over by a screen-saver daemon instead:
// nothing is created, mapped, raised or grabbed, no input is read, and the
// sky follows the window's size.
class X11SkySurface final : public SkySurface {
 public:
  explicit X11SkySurface(Display* display);
  X11SkySurface(Display* display, Window handed);
  ~X11SkySurface() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  std::uintptr_t Handle() const override { return window_; }
  void Show() override;
  void Hide() override;
  void Blit(const Rect& rect, const std::uint32_t* pixels, int stride) override;
  void Flush() override;
  void PumpEvents(SkyInput& input, std::int64_t now_micros) override;
  std::int64_t NowMicros() override;
  bool WaitForInput(std::int64_t deadline_micros) override;

  // Requests the host passes on.
  void KeepOnTop() { topmost_ = true; }
  void SetPointerHidden(bool hidden);

 private:
  void Grab();
  void Dispatch(const XEvent& event, SkyInput& input);
  bool HandedWindowEnds() const;

  Display* display_;
  bool handed_ = false;
  Window window_ = 0;
  Visual* visual_ = nullptr;
  int depth_ = 0;
  GC gc_ = nullptr;
  Cursor blank_cursor_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool topmost_ = false;
  bool pointer_hidden_ = false;
  bool mapped_ = false;
  QueueLooks looks_;
  bool unsent_ = true;          // requests may wait in Xlib's buffer
  bool direct_pixels_ = false;  // the visual takes 0x00RRGGBB words as they are
};

}  // namespace mofu::x11
