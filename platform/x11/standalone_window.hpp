#pragma once

#include <memory>

#include "platform/x11/x11_surface.hpp"

namespace mofu::x11 {

// The saver's own window: override-redirect, covering the whole screen,
// black. It holds the keyboard, the pointer and the input focus while it
// shows, so that every key and click reaches the saver and nothing typed
// reaches the windows behind it; it follows the screen's size and, kept on
// top, raises itself over any window that comes above it.
class StandaloneWindow final : public X11Surface {
 public:
  static std::unique_ptr<StandaloneWindow> Create(Display* display);
  ~StandaloneWindow() override;

  // Takes the keyboard and the pointer first, and covers the screen only
  // once it has both; throws InputHeldElsewhere when another program keeps
  // either of them for longer than a short wait.
  void Show() override;
  void Hide() override;

  void KeepOnTop() override { topmost_ = true; }
  void SetPointerHidden(bool hidden) override;

 private:
  StandaloneWindow(Display* display, Window root, Window window, int width, int height);

  void Dispatch(const XEvent& event, SkyInput& input) override;
  void AfterEvents(SkyInput& input, std::int64_t now_micros) override;

  bool TakeInput(Window on);
  bool HoldOnSky();
  void ReleaseInput();
  void WaitUntilMapped();
  bool SomethingAbove();
  void FollowRootSize(SkyInput& input);

  const Window root_;
  Cursor blank_cursor_ = 0;
  bool topmost_ = false;
  bool pointer_hidden_ = false;
  bool showing_ = false;
  bool mapped_ = false;
  bool keyboard_held_ = false;
  bool pointer_held_ = false;
  // Set by events, acted on after them, at most once per repair interval.
  bool input_lost_ = false;
  bool stacking_changed_ = false;
  std::int64_t last_repair_micros_ = 0;
};

}  // namespace mofu::x11
