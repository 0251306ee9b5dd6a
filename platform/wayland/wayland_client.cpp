#include "platform/wayland/wayland_client.hpp"

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/linux/exit_signals.hpp"
#include "platform/linux/wait.hpp"
#include "platform/wayland/layer_shell_protocol.hpp"
#include "platform/wayland/wayland_sky_surface.hpp"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace mofu::wayland {
namespace {

const xdg_wm_base_listener kWmBaseListener = {
    .ping = [](void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); },
};

const wl_registry_listener kRegistryListener = {
    .global =
        [](void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
          static_cast<WaylandClient*>(data)->Global(name, interface, version);
        },
    .global_remove = [](void* data, wl_registry*,
                        uint32_t name) { static_cast<WaylandClient*>(data)->GlobalRemove(name); },
};

Output* Of(void* data) { return static_cast<Output*>(data); }

const wl_output_listener kListener = {
    .geometry =
        [](void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*,
           const char*, int32_t transform) {
          Of(data)->x = x;
          Of(data)->y = y;
          Of(data)->transform = transform;
        },
    .mode =
        [](void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t mhz) {
          if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
          Of(data)->mode_width = width;
          Of(data)->mode_height = height;
          Of(data)->refresh_mhz = mhz;
        },
    .done = [](void* data, wl_output*) { Of(data)->Done(); },
    .scale = [](void* data, wl_output*, int32_t factor) { Of(data)->scale = std::max(factor, 1); },
};

// Version 1: each update ends with a done of its own.
const zxdg_output_v1_listener kXdgListener = {
    .logical_position =
        [](void* data, zxdg_output_v1*, int32_t x, int32_t y) {
          Rect& l = Of(data)->logical;
          l = {x, y, x + l.Width(), y + l.Height()};
        },
    .logical_size =
        [](void* data, zxdg_output_v1*, int32_t width, int32_t height) {
          Rect& l = Of(data)->logical;
          l = {l.left, l.top, l.left + width, l.top + height};
        },
    .done = [](void* data, zxdg_output_v1*) { Of(data)->Done(); },
};

}  // namespace

Output::Output(std::uint32_t global, wl_output* output, zxdg_output_manager_v1* xdg_manager)
    : global(global), handle(output) {
  wl_output_add_listener(handle, &kListener, this);
  UseXdgOutput(xdg_manager);
}

void Output::UseXdgOutput(zxdg_output_manager_v1* manager) {
  if (manager == nullptr || xdg_ != nullptr) return;
  xdg_ = zxdg_output_manager_v1_get_xdg_output(manager, handle);
  zxdg_output_v1_add_listener(xdg_, &kXdgListener, this);
}

Output::~Output() {
  if (xdg_ != nullptr) zxdg_output_v1_destroy(xdg_);
  const bool release = wl_output_get_version(handle) >= WL_OUTPUT_RELEASE_SINCE_VERSION;
  (release ? wl_output_release : wl_output_destroy)(handle);
}

OutputPlace Output::Place() const {
  if (!logical.Empty()) return {logical, scale};
  // A quarter turn swaps the mode's width and height on the desktop.
  const bool turned = transform % 2 == 1;
  const int width = (turned ? mode_height : mode_width) / scale;
  const int height = (turned ? mode_width : mode_height) / scale;
  return {{x, y, x + width, y + height}, scale};
}

void Output::Done() {
  const OutputPlace now = Place();
  changed = changed || !ready || now.logical != last_.logical || now.scale != last_.scale ||
            refresh_mhz != last_refresh_mhz_;
  ready = !now.logical.Empty();
  last_ = now;
  last_refresh_mhz_ = refresh_mhz;
}

std::unique_ptr<WaylandClient> WaylandClient::Connect() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return nullptr;
  std::unique_ptr<WaylandClient> client(new WaylandClient(display));
  // The first round trip announces the globals, the second the outputs'
  // descriptions (bound in the first).
  if (wl_display_roundtrip(display) < 0) return nullptr;
  for (auto& output : client->outputs_) output->UseXdgOutput(client->xdg_output_manager_);
  if (wl_display_roundtrip(display) < 0) return nullptr;
  const char* missing =
      client->compositor == nullptr || wl_compositor_get_version(client->compositor) < 4
          ? "wl_compositor 4"
      : client->shm == nullptr ? "wl_shm"
      : client->layer_shell == nullptr && client->wm_base == nullptr
          ? "a shell (layer-shell or xdg-shell)"
      : client->Geometry().Width() <= 0 ? "an output"
                                        : nullptr;
  if (missing != nullptr) {
    std::fprintf(stderr, "mofu: the Wayland compositor offers no %s; trying X11\n", missing);
    return nullptr;
  }
  for (auto& output : client->outputs_) output->changed = false;
  return client;
}

WaylandClient::WaylandClient(wl_display* display) : display_(display) {
  registry_ = wl_display_get_registry(display_);
  wl_registry_add_listener(registry_, &kRegistryListener, this);
}

WaylandClient::~WaylandClient() {
  seats_.clear();
  outputs_.clear();
  // Forgotten on this side; the compositor lets go of them on disconnect.
  for (void* global :
       {static_cast<void*>(compositor), static_cast<void*>(shm), static_cast<void*>(wm_base),
        static_cast<void*>(layer_shell), static_cast<void*>(xdg_output_manager_)}) {
    if (global != nullptr) wl_proxy_destroy(static_cast<wl_proxy*>(global));
  }
  wl_registry_destroy(registry_);
  wl_display_flush(display_);
  wl_display_disconnect(display_);
}

// Each at the lowest version that says what the saver needs: fewer events
// to ignore. Version 4 of the compositor damages in buffer pixels.
void WaylandClient::Global(std::uint32_t name, const char* interface, std::uint32_t version) {
  const std::string_view is(interface);
  const auto bind = [&](const wl_interface& wanted, std::uint32_t at_most) {
    return wl_registry_bind(registry_, name, &wanted, std::min(version, at_most));
  };
  if (is == wl_compositor_interface.name) {
    compositor = static_cast<wl_compositor*>(bind(wl_compositor_interface, 4));
  } else if (is == wl_shm_interface.name) {
    shm = static_cast<wl_shm*>(bind(wl_shm_interface, 1));
  } else if (is == xdg_wm_base_interface.name) {
    wm_base = static_cast<xdg_wm_base*>(bind(xdg_wm_base_interface, 1));
    xdg_wm_base_add_listener(wm_base, &kWmBaseListener, nullptr);
  } else if (is == zwlr_layer_shell_v1_interface.name) {
    layer_shell = static_cast<zwlr_layer_shell_v1*>(bind(zwlr_layer_shell_v1_interface, 4));
  } else if (is == zxdg_output_manager_v1_interface.name) {
    xdg_output_manager_ =
        static_cast<zxdg_output_manager_v1*>(bind(zxdg_output_manager_v1_interface, 1));
  } else if (is == wl_output_interface.name) {
    auto* output = static_cast<wl_output*>(bind(wl_output_interface, 3));
    outputs_.push_back(std::make_unique<Output>(name, output, xdg_output_manager_));
  } else if (is == wl_seat_interface.name) {
    seats_.push_back(
        std::make_unique<Seat>(name, static_cast<wl_seat*>(bind(wl_seat_interface, 1))));
    seats_.back()->input = seat_input_;
  }
}

void WaylandClient::GlobalRemove(std::uint32_t name) {
  for (auto& output : outputs_) {
    if (output->global == name) output->gone = output->changed = true;
  }
  std::erase_if(seats_, [name](const auto& seat) { return seat->Global() == name; });
}

SkyGeometry WaylandClient::Geometry() const {
  std::vector<OutputPlace> places;
  for (const auto& output : outputs_) {
    if (output->ready && !output->gone) places.push_back(output->Place());
  }
  return SkyGeometry(places);
}

void WaylandClient::DropGoneOutputs() {
  std::erase_if(outputs_, [](const auto& output) { return output->gone; });
}

void WaylandClient::SetSeatInput(InputTrack* input) {
  seat_input_ = input;
  for (auto& seat : seats_) seat->input = input;
}

std::unique_ptr<SkySurface> WaylandClient::CreateSkySurface() {
  return std::make_unique<WaylandSkySurface>(*this);
}

// A full socket (EAGAIN) empties as the compositor reads; anything else
// means the connection is gone.
void WaylandClient::Send() {
  if (wl_display_flush(display_) < 0 && errno != EAGAIN) Lost();
}

void WaylandClient::Roundtrip() {
  if (wl_display_roundtrip(display_) < 0) Lost();
}

int WaylandClient::Dispatch() {
  const int handled = wl_display_dispatch_pending(display_);
  if (handled < 0) Lost();
  return handled;
}

// Libwayland's queue must be empty before reading the socket; whatever was
// in it has just been handled.
int WaylandClient::PrepareRead() {
  int handled = 0;
  while (wl_display_prepare_read(display_) != 0) handled += Dispatch();
  return handled;
}

bool WaylandClient::WaitForEvents(std::int64_t deadline_micros) {
  for (;;) {
    if (PrepareRead() > 0) {
      wl_display_cancel_read(display_);
      return true;
    }
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
      wl_display_cancel_read(display_);
      Lost();
    }
    const linux_os::Woke woke = linux_os::WaitReadable(
        wl_display_get_fd(display_), linux_os::ExitSignals::WakeFd(), deadline_micros);
    if (woke == linux_os::Woke::kConnection) {
      // A hang-up shows here as a failed read.
      if (wl_display_read_events(display_) < 0) Lost();
    } else {
      wl_display_cancel_read(display_);
      if (woke == linux_os::Woke::kDeadline) return false;
    }
    const int handled = Dispatch();
    if (woke == linux_os::Woke::kWakeFd || handled > 0) return true;
  }
}

void WaylandClient::Lost() {
  const int error = wl_display_get_error(display_);
  const wl_interface* interface = nullptr;
  std::uint32_t object = 0;
  const std::uint32_t code =
      error == EPROTO ? wl_display_get_protocol_error(display_, &interface, &object) : 0;
  if (interface != nullptr) {
    // The compositor refused a request: worth naming, it is a fault here.
    std::fprintf(stderr, "mofu: the Wayland compositor ended the connection: error %u on %s@%u\n",
                 code, interface->name, object);
  } else {
    std::fprintf(stderr, "mofu: lost the Wayland display: %s\n",
                 std::strerror(error != 0 ? error : EPIPE));
  }
  std::exit(1);
}

}  // namespace mofu::wayland
