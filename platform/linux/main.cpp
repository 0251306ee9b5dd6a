// The Linux program: the Linux system part with the display part that
// answers. A Wayland compositor where one is named and answers, X11
// otherwise, and always for a daemon's hack.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/linux/linux_host.hpp"
#include "platform/linux/usage.hpp"
#include "platform/wayland/wayland_client.hpp"
#include "platform/x11/hack_options.hpp"
#include "platform/x11/x11_display.hpp"
#include "runtime/start_routine.hpp"
#include "start/module1.hpp"

namespace {

std::unique_ptr<mofu::linux_os::DisplayPart> ChooseDisplay(
    const std::optional<mofu::x11::HackTarget>& hack) {
  // Never in hack mode: the window a daemon hands over is an X one. A named
  // compositor that does not answer still leaves X11 to try.
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (!hack && wayland != nullptr && wayland[0] != '\0') {
    if (auto client = mofu::wayland::WaylandClient::Connect()) return client;
  }
  return std::make_unique<mofu::x11::X11Display>(hack);
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto text = mofu::linux_os::InfoRequested(argc, argv)) {
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
  mofu::linux_os::LinuxHost host(argc, argv, ChooseDisplay(hack));
  return mofu::RunProgram(host, &mofu::Module1::Main, &mofu::Module1::ReleaseForms);
}
