#pragma once

#include <memory>
#include <string>

#include "platform/linux/instance_lock.hpp"
#include "runtime/sky_surface.hpp"

namespace mofu::linux_os {

// What a display backend brings to the Linux program: its screen, the sky's
// surface on it, and its part in the single-copy lock and the blanker. The
// rest of the system (settings, files, the dialog) is the same under every
// display.
class DisplayPart {
 public:
  virtual ~DisplayPart() = default;

  // The single-copy lock's name: one copy per display, or per window a
  // daemon hands over.
  virtual std::string InstanceName() const = 0;
  // A second way to tell whether another copy runs, or nullptr.
  virtual std::unique_ptr<LockFallback> MakeLockFallback() = 0;

  virtual int ScreenPixelWidth() = 0;
  virtual int ScreenPixelHeight() = 0;
  virtual std::unique_ptr<SkySurface> CreateSkySurface() = 0;
  // Holds off, or lets go of, the display's own blanker while the saver runs.
  virtual void SuspendBlanker(bool suspend) = 0;
  // Whether a message box may open: not where a daemon owns the screen.
  virtual bool MayShowMessages() const { return true; }
};

}  // namespace mofu::linux_os
