#include <cstdio>
#include <cstdlib>

#include "platform/start_routine.hpp"
#include "platform/wayland/backend_choice.hpp"
#include "platform/wayland/wayland_client.hpp"
#include "platform/x11/hack_options.hpp"
#include "platform/x11/linux_host.hpp"
#include "platform/x11/usage.hpp"
#include "start/module1.hpp"

int main(int argc, char** argv) {
  if (const auto text = mofu::x11::InfoRequested(argc, argv)) {
    std::fputs(text->c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  std::string error;
  const auto hack =
      mofu::x11::FindHackTarget(argc, argv, std::getenv("XSCREENSAVER_WINDOW"), error);
  if (!error.empty()) {
    std::fprintf(stderr, "mofu: %s\n", error.c_str());
    return 2;
  }
  // The saver shows on a Wayland compositor where one answers; X11 otherwise.
  std::unique_ptr<mofu::wayland::WaylandClient> wayland;
  if (mofu::wayland::TryWayland(std::getenv("WAYLAND_DISPLAY"), hack.has_value())) {
    wayland = mofu::wayland::WaylandClient::Connect();
  }
  mofu::x11::LinuxHost host(argc, argv, hack, std::move(wayland));
  return mofu::RunProgram(host, &mofu::Module1::Main, &mofu::Module1::ReleaseForms);
}
