#include "platform/wayland/wayland_sky_surface.hpp"

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/linux/exit_signals.hpp"
#include "platform/linux/wait.hpp"
#include "platform/wayland/event_wait.hpp"
#include "platform/wayland/key_codes.hpp"
#include "platform/wayland/wayland_client.hpp"

namespace mofu::wayland {

WaylandSkySurface::WaylandSkySurface(WaylandClient& client)
    : client_(client), geometry_(client.Geometry()), track_(geometry_, queue_) {
  client_.SetSeatListener(this);
}

WaylandSkySurface::~WaylandSkySurface() {
  client_.SetSeatListener(nullptr);
  surfaces_.clear();
  wl_display_flush(client_.Display());
}

void WaylandSkySurface::Show() {
  if (shown_) return;
  // SIGTERM, SIGINT and SIGHUP end the saver through its own unload, so
  // every surface is taken down before the process goes.
  linux_os::ExitSignals::Install();
  if (client_.LayerShell() == nullptr) {
    std::fprintf(stderr,
                 "mofu: this Wayland compositor has no layer shell; the sky shows as fullscreen "
                 "windows, one on each output\n");
  }
  shown_ = true;
  Relayout();
}

void WaylandSkySurface::Hide() {
  shown_ = false;
  surfaces_.clear();
  wl_display_flush(client_.Display());
}

void WaylandSkySurface::Blit(const Rect& rect, const std::uint32_t* pixels, int stride) {
  for (auto& surface : surfaces_) surface->Blit(rect, pixels, stride);
}

void WaylandSkySurface::Flush() {
  for (auto& surface : surfaces_) surface->Flush();
  if (wl_display_flush(client_.Display()) < 0 && errno != EAGAIN) DisplayLost(client_.Display());
}

void WaylandSkySurface::PumpEvents(SkyInput& input, std::int64_t now_micros) {
  if (linux_os::ExitSignals::Raised()) {
    input.CloseRequested();
    return;
  }
  if (looks_.Due(now_micros)) ReadEvents(client_.Display());
  AfterEvents();
  queue_.HandAllTo(input);
}

std::int64_t WaylandSkySurface::NowMicros() { return linux_os::MonotonicMicros(); }

bool WaylandSkySurface::WaitForInput(std::int64_t deadline_micros) {
  for (;;) {
    if (!queue_.Empty() || linux_os::ExitSignals::Raised()) return true;
    if (!WaitForEvents(client_.Display(), deadline_micros)) {
      // Nothing came while it slept, so nothing waits to be read.
      looks_.Read();
      return false;
    }
    AfterEvents();
  }
}

void WaylandSkySurface::PointerEnter(wl_surface* surface, double x, double y) {
  if (const OutputSurface* s = SurfaceOf(surface)) track_.Enter(s->Target().Logical(), x, y);
}

void WaylandSkySurface::TouchDown(wl_surface* surface, double x, double y) {
  if (const OutputSurface* s = SurfaceOf(surface)) track_.Touch(s->Target().Logical(), x, y);
}

void WaylandSkySurface::Key(std::uint32_t evdev_code, std::int16_t shift) {
  queue_.KeyDown(VirtualKeyOf(evdev_code), shift, CharacterOf(evdev_code, shift));
}

void WaylandSkySurface::Configured(OutputSurface& surface) { queue_.Exposed(surface.SkyRect()); }

void WaylandSkySurface::Closed(OutputSurface&) { closed_seen_ = true; }

void WaylandSkySurface::AfterEvents() {
  if (closed_seen_) {
    closed_seen_ = false;
    // A compositor closes the surfaces of an output it removes, and may say
    // so before it removes the output: a round trip tells the two apart.
    if (wl_display_roundtrip(client_.Display()) < 0) DisplayLost(client_.Display());
    for (const auto& surface : surfaces_) {
      if (surface->closed && !surface->Target().gone) queue_.CloseRequested();
    }
  }
  if (client_.TakeLayoutChange()) {
    Relayout();
    queue_.Resized();
  }
}

// Surfaces follow the outputs: one for each output described and not
// removed, each placed on its part of the sky.
void WaylandSkySurface::Relayout() {
  std::erase_if(surfaces_, [](const auto& s) { return s->Target().gone || s->closed; });
  client_.DropGoneOutputs();
  geometry_ = client_.Geometry();
  bool added = false;
  if (shown_) {
    for (const auto& output : client_.Outputs()) {
      if (!output->Ready()) continue;
      const bool covered = std::any_of(surfaces_.begin(), surfaces_.end(),
                                       [&](const auto& s) { return &s->Target() == output.get(); });
      if (covered) continue;
      surfaces_.push_back(
          std::make_unique<OutputSurface>(client_, *output, static_cast<Owner&>(*this)));
      added = true;
    }
  }
  for (auto& surface : surfaces_) {
    surface->Place(geometry_.SkyRectOf(surface->Target().Logical()), geometry_.Scale());
  }
  // The compositor answers a new surface with its size.
  if (added && wl_display_roundtrip(client_.Display()) < 0) DisplayLost(client_.Display());
}

OutputSurface* WaylandSkySurface::SurfaceOf(wl_surface* surface) const {
  for (const auto& s : surfaces_) {
    if (s->Surface() == surface) return s.get();
  }
  return nullptr;
}

}  // namespace mofu::wayland
