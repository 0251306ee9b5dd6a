#pragma once

#include <X11/Xlib.h>

#include <optional>

#include "platform/linux/display_part.hpp"
#include "platform/x11/hack_options.hpp"

namespace mofu::x11 {

// The X display: the saver's own window covering the screen, or, with a
// hack target, the window a screen-saver daemon hands over, which owns the
// input, the stacking, the pointer and the blanker. The display is opened
// only when the screen or the sky is first asked for.
class X11Display final : public linux_os::DisplayPart {
 public:
  explicit X11Display(std::optional<HackTarget> hack) : hack_(hack) {}
  ~X11Display() override;

  std::string InstanceName() const override;
  std::unique_ptr<linux_os::LockFallback> MakeLockFallback() override;
  int ScreenPixelWidth() override;
  int ScreenPixelHeight() override;
  std::unique_ptr<SkySurface> CreateSkySurface() override;
  void SuspendBlanker(bool suspend) override;
  bool MayShowMessages() const override { return !hack_; }

 private:
  Display* Open();

  std::optional<HackTarget> hack_;
  Display* display_ = nullptr;
};

}  // namespace mofu::x11
