#pragma once

#include <memory>
#include <vector>

#include "platform/wayland/output_surface.hpp"
#include "runtime/queue_peeks.hpp"
#include "runtime/recorded_input.hpp"

namespace mofu::wayland {

class WaylandClient;

// The saver on a Wayland compositor: a surface on every output, together
// showing one sky. Outputs that come, go or change give a fresh sky of the
// new size.
class WaylandSkySurface final : public SkySurface {
 public:
  explicit WaylandSkySurface(WaylandClient& client);
  ~WaylandSkySurface() override;

  int Width() const override { return geometry_.Width(); }
  int Height() const override { return geometry_.Height(); }
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(this); }
  void Show() override;
  void Hide() override;
  void Blit(const Rect& rect, const std::uint32_t* pixels, int stride) override;
  void Flush() override;
  void PumpEvents(SkyInput& input, std::int64_t now_micros) override;
  std::int64_t NowMicros() override;
  bool WaitForInput(std::int64_t deadline_micros) override;
  std::int64_t RefreshMicros() override;

 private:
  // What the handlers left to do: round trips are not made from inside one.
  void AfterEvents();
  void Relayout();

  WaylandClient& client_;
  SkyGeometry geometry_;
  InputRecorder queue_;
  InputTrack track_;
  std::vector<std::unique_ptr<OutputSurface>> surfaces_;
  bool shown_ = false;
  std::int64_t keyboard_asked_ = 0;
  QueuePeeks peeks_;
};

}  // namespace mofu::wayland
