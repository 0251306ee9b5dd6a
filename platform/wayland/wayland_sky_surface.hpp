#pragma once

#include <memory>
#include <vector>

#include "platform/wayland/output_surface.hpp"
#include "platform/wayland/pointer_track.hpp"
#include "platform/wayland/seat.hpp"
#include "platform/wayland/sky_geometry.hpp"
#include "runtime/queue_looks.hpp"
#include "runtime/recorded_input.hpp"
#include "runtime/sky_surface.hpp"

namespace mofu::wayland {

class WaylandClient;

// The saver on a Wayland compositor: one surface on every output, together
// showing one sky over the outputs' bounding box. Outputs that come, go or
// change give a fresh sky of the new size.
class WaylandSkySurface final : public SkySurface,
                                private SeatListener,
                                private OutputSurface::Owner {
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

 private:
  // SeatListener
  void PointerEnter(wl_surface* surface, double x, double y) override;
  void PointerLeave() override { track_.Leave(); }
  void PointerMotion(double x, double y) override { track_.Motion(x, y); }
  void PointerClick() override { track_.Click(); }
  void TouchDown(wl_surface* surface, double x, double y) override;
  void Key(std::uint32_t evdev_code, std::int16_t shift) override;
  // OutputSurface::Owner
  void Configured(OutputSurface& surface) override;
  void Closed(OutputSurface& surface) override;
  void Owed(const Rect& sky_rect) override { queue_.Exposed(sky_rect); }

  // What the handlers left to do outside them: round trips are not made
  // from inside a handler.
  void AfterEvents();
  void Relayout();
  OutputSurface* SurfaceOf(wl_surface* surface) const;

  WaylandClient& client_;
  SkyGeometry geometry_;
  InputRecorder queue_;
  PointerTrack track_;
  std::vector<std::unique_ptr<OutputSurface>> surfaces_;
  bool shown_ = false;
  bool closed_seen_ = false;
  QueueLooks looks_;
};

}  // namespace mofu::wayland
