#pragma once

#include <memory>

#include "platform/linux/display_part.hpp"
#include "platform/wayland/wayland_client.hpp"

namespace mofu::wayland {

// A Wayland compositor as the Linux program's display: the sky spans the
// outputs. The compositor keeps the overlay surfaces on top and the idle
// daemon owns the blanker, so those requests ask nothing of it. There is no
// second way to lock: without a private folder, another copy is taken to
// run.
class WaylandDisplay final : public linux_os::DisplayPart {
 public:
  explicit WaylandDisplay(std::unique_ptr<WaylandClient> client) : client_(std::move(client)) {}

  std::string InstanceName() const override { return "mofu"; }
  std::unique_ptr<linux_os::LockFallback> MakeLockFallback() override { return nullptr; }
  int ScreenPixelWidth() override { return client_->Geometry().Width(); }
  int ScreenPixelHeight() override { return client_->Geometry().Height(); }
  std::unique_ptr<SkySurface> CreateSkySurface() override { return client_->CreateSkySurface(); }
  void SuspendBlanker(bool) override {}

 private:
  std::unique_ptr<WaylandClient> client_;
};

}  // namespace mofu::wayland
