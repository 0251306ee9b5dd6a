#pragma once

#include <cstdint>

#include "runtime/rect.hpp"

namespace mofu {

// What the saver window routes input to; the backend calls these while it
// pumps events. Coordinates are pixels in the window's client area.
class SkyInput {
 public:
  virtual ~SkyInput() = default;
  virtual void PointerReport(double x, double y) = 0;
  virtual void ButtonDown(double x, double y) = 0;
  virtual void ButtonUp(double x, double y) = 0;
  // A key going down; `character` is 0 when the key types no character.
  virtual void KeyDown(std::int16_t key_code, std::int16_t shift, std::int16_t character) = 0;
  virtual void CloseRequested() = 0;
  // The backend lost (part of) the picture on screen and wants it again.
  virtual void Exposed(const Rect& rect) = 0;
  // The window took a new size (the surface's Width and Height tell it);
  // nothing drawn before is on it any more.
  virtual void Resized() = 0;
};

// The real window behind the saver: one per backend. It covers the whole
// screen once shown; everything it shows comes through Blit.
class SkySurface {
 public:
  virtual ~SkySurface() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual std::uintptr_t Handle() const = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  // Copies a rectangle of 0x00RRGGBB pixels (`stride` pixels a row) to the
  // window; Flush sends what was copied.
  virtual void Blit(const Rect& rect, const std::uint32_t* pixels, int stride) = 0;
  virtual void Flush() = 0;
  // Delivers every pending event, then returns. `now_micros` is the clock as
  // the caller last read it, a moment ago; a backend may use it to space out
  // its looks at the event queue without reading the clock again.
  virtual void PumpEvents(SkyInput& input, std::int64_t now_micros) = 0;
  virtual std::int64_t NowMicros() = 0;
  virtual bool WaitForInput(std::int64_t deadline_micros) = 0;

  // The saver's requests of the way it shows: stay above every other
  // window, and hide the pointer over it. A way that cannot or need not do
  // one (a daemon's window, an overlay layer) does nothing.
  virtual void KeepOnTop() {}
  // The display's refresh interval, where the system tells it; 0 if not.
  virtual std::int64_t RefreshMicros() { return 0; }
  virtual void SetPointerHidden(bool /*hidden*/) {}
};

}  // namespace mofu
