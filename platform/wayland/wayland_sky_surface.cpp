#include "platform/wayland/wayland_sky_surface.hpp"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/linux/exit_signals.hpp"
#include "platform/linux/wait.hpp"
#include "platform/wayland/wayland_client.hpp"

namespace mofu::wayland {

WaylandSkySurface::WaylandSkySurface(WaylandClient& client)
    : client_(client), geometry_(client.Geometry()), track_(queue_) {
  client_.SetSeatInput(&track_);
}

WaylandSkySurface::~WaylandSkySurface() {
  client_.SetSeatInput(nullptr);
  surfaces_.clear();
  client_.Send();
}

void WaylandSkySurface::Show() {
  if (shown_) return;
  // SIGTERM, SIGINT and SIGHUP end the saver through its own unload, so
  // every surface is taken down before the process goes.
  linux_os::ExitSignals::Install();
  if (client_.layer_shell == nullptr) {
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
  client_.Send();
}

void WaylandSkySurface::Blit(const Rect& rect, const std::uint32_t* pixels, int stride) {
  for (auto& surface : surfaces_) surface->Blit(rect, pixels, stride);
}

void WaylandSkySurface::Flush() {
  for (auto& surface : surfaces_) surface->Flush();
  client_.Send();
}

void WaylandSkySurface::PumpEvents(SkyInput& input, std::int64_t now_micros) {
  if (linux_os::ExitSignals::Raised()) {
    input.CloseRequested();
    return;
  }
  if (peeks_.PeekNow(now_micros)) client_.WaitForEvents(WaylandClient::kLookOnly);
  AfterEvents();
  queue_.HandAllTo(input);
}

std::int64_t WaylandSkySurface::NowMicros() { return linux_os::MonotonicMicros(); }

bool WaylandSkySurface::WaitForInput(std::int64_t deadline_micros) {
  for (;;) {
    if (!queue_.Empty() || linux_os::ExitSignals::Raised()) return true;
    if (!client_.WaitForEvents(deadline_micros)) {
      // Nothing came while it slept, so nothing waits to be read.
      peeks_.MarkQueueRead();
      return false;
    }
    AfterEvents();
  }
}

// The fastest output's: a present at most once per refresh keeps up with it.
std::int64_t WaylandSkySurface::RefreshMicros() {
  std::int64_t fastest = 0;
  for (const auto& output : client_.Outputs()) {
    const std::int64_t micros = output->RefreshMicros();
    if (micros > 0 && (fastest == 0 || micros < fastest)) fastest = micros;
  }
  return fastest;
}

void WaylandSkySurface::AfterEvents() {
  // A surface mapped later took the keyboard: ask for it back, where the
  // compositor may grant it, but not often enough to fight a client that
  // does the same. Pointer input ends the saver all the same.
  if (std::exchange(track_.keyboard_lost, false) && shown_ &&
      linux_os::MonotonicMicros() - keyboard_asked_ >= 1'000'000) {
    keyboard_asked_ = linux_os::MonotonicMicros();
    for (auto& surface : surfaces_) surface->AskForKeyboard();
  }
  if (std::any_of(surfaces_.begin(), surfaces_.end(), [](const auto& s) { return s->closed; })) {
    // A compositor closes the surfaces of an output it removes, and may say
    // so before it removes the output: a round trip tells the two apart.
    client_.Roundtrip();
    for (const auto& surface : surfaces_) {
      if (surface->closed && !surface->Target().gone) queue_.CloseRequested();
    }
  }
  const auto& outputs = client_.Outputs();
  if (std::any_of(outputs.begin(), outputs.end(), [](const auto& o) { return o->changed; })) {
    Relayout();
    queue_.Resized();
  }
}

// Surfaces follow the outputs: one for each output described and not
// removed, each on its place in the sky.
void WaylandSkySurface::Relayout() {
  std::erase_if(surfaces_, [](const auto& s) { return s->Target().gone || s->closed; });
  client_.DropGoneOutputs();
  geometry_ = client_.Geometry();
  bool added = false;
  for (const auto& output : client_.Outputs()) {
    const bool covered = std::any_of(surfaces_.begin(), surfaces_.end(),
                                     [&](const auto& s) { return &s->Target() == output.get(); });
    output->changed = false;
    if (!shown_ || covered || !output->ready) continue;
    surfaces_.push_back(std::make_unique<OutputSurface>(client_, *output, queue_));
    added = true;
  }
  for (auto& surface : surfaces_) surface->SetPlace(geometry_.PlaceOf(surface->Target().Place()));
  // The compositor answers a new surface with its size.
  if (added) client_.Roundtrip();
}

}  // namespace mofu::wayland
