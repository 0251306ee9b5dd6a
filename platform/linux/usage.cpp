#include "platform/linux/usage.hpp"

#include <string_view>

namespace mofu::linux_os {
namespace {

constexpr const char* kUsage =
    "Usage: mofu [SWITCH] [--root | --window-id ID]\n"
    "A night sky with coloured stars and a little cat walking across it.\n"
    "\n"
    "Switches (only the first two characters count, in any case):\n"
    "  (none), /c      open the settings dialog\n"
    "  /s, any other   run the saver on the whole screen; a key, a click or a\n"
    "                  pointer move ends it\n"
    "  /p              end at once (no preview)\n"
    "  /a              say that passwords are not supported\n"
    "\n"
    "Hack options, for XScreenSaver and other screen-saver daemons (the daemon\n"
    "owns the window and the input, and ends the saver with a signal):\n"
    "  --root          draw into $XSCREENSAVER_WINDOW, or the root window\n"
    "  --window-id ID  draw into the window ID (decimal or 0x hex)\n"
    "\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "Settings: ${XDG_CONFIG_HOME:-~/.config}/mofu/settings.ini\n"
    "Pictures: <the program's folder>/../share/mofu/neko1.gif, neko2.gif\n";

}  // namespace

std::optional<std::string> InfoRequested(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help") return kUsage;
    if (arg == "--version") return "Mofu Saver " MOFU_VERSION_TEXT "\n";
  }
  return std::nullopt;
}

}  // namespace mofu::linux_os
