#pragma once

namespace mofu::win32 {

// The rectangle that holds every monitor, in desktop coordinates. It starts
// left of or above the primary monitor's corner when a monitor sits there,
// so left and top may be negative.
struct DesktopArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The saver window and Screen share one reading, so the sky and the
// program's idea of the screen never disagree; a display change re-reads it.
class VirtualDesktop {
 public:
  const DesktopArea& Area();
  void Reread();

 private:
  DesktopArea area_;
  bool read_ = false;
};

}  // namespace mofu::win32
