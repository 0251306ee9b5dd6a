#pragma once

#include <X11/Xlib.h>

#include "runtime/queue_peeks.hpp"
#include "runtime/sky_surface.hpp"

namespace mofu::x11 {

// What every X11 way of showing the sky shares: putting changed rectangles
// into a window, flushing them, the monotonic clock, and the wait that wakes
// at once for the window system. Each way (the saver's own window, a window
// handed over by a daemon) adds its own events.
class X11Surface : public SkySurface {
 public:
  ~X11Surface() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  std::uintptr_t Handle() const override { return window_; }
  void Blit(const Rect& rect, const std::uint32_t* pixels, int stride) override;
  void Flush() override;
  void PumpEvents(SkyInput& input, std::int64_t now_micros) override;
  std::int64_t NowMicros() override;
  bool WaitForInput(std::int64_t deadline_micros) override;
  // The screen's refresh rate as RandR reports it; 0 where it does not say.
  std::int64_t RefreshMicros() override;

 protected:
  X11Surface(Display* display, Window window, int width, int height, Visual* visual, int depth);

  // Every event but a repaint, which all ways of showing treat alike.
  virtual void Dispatch(const XEvent& event, SkyInput& input) = 0;
  // After each pump's events, with the clock of that pass.
  virtual void AfterEvents(SkyInput&, std::int64_t /*now_micros*/) {}
  // True once the saver must end for a reason of the way it shows (a
  // signal, a window gone); the wait wakes for it as for input.
  virtual bool Ending() const { return false; }
  // A descriptor that becomes readable when Ending() turns true, or -1.
  virtual int WakeFd() const { return -1; }

  void SetSize(int width, int height) {
    width_ = width;
    height_ = height;
  }
  // Requests were queued in Xlib's buffer outside Blit: the next wait flushes.
  void MarkUnflushed() { unflushed_ = true; }

  Display* const display_;
  const Window window_;

 private:
  int width_;
  int height_;
  Visual* visual_;
  int depth_;
  GC gc_ = nullptr;
  QueuePeeks peeks_;
  bool unflushed_ = true;       // requests may wait in Xlib's buffer
  bool direct_pixels_ = false;  // the visual takes 0x00RRGGBB words as they are
};

}  // namespace mofu::x11
