#include "platform/x11/hack_options.hpp"

#include <cstdio>
#include <string_view>

namespace mofu::x11 {
namespace {

// X resource ids are at most 29 bits; 0 is no window at all.
constexpr unsigned long kLargestId = 0x1FFFFFFF;

std::optional<unsigned long> ParseWindowId(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  unsigned long value = 0;
  for (const char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
  }
  if (value == 0 || value > kLargestId) return std::nullopt;
  return value;
}

bool Is(std::string_view arg, std::string_view option) {
  return arg == option ||
         (arg.size() == option.size() + 1 && arg[0] == '-' && arg.substr(1) == option);
}

}  // namespace

std::string HackTarget::Describe() const {
  if (root) return "root";
  char text[16];
  std::snprintf(text, sizeof text, "0x%lx", window);
  return text;
}

std::optional<HackTarget> FindHackTarget(int argc, char** argv, const char* xscreensaver_window,
                                         std::string& error) {
  bool root = false;
  std::optional<std::string_view> window_text;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (Is(arg, "-root")) {
      root = true;
    } else if (Is(arg, "-window-id")) {
      if (i + 1 >= argc) {
        error = "--window-id needs a window id";
        return std::nullopt;
      }
      window_text = argv[++i];
    } else if (arg.starts_with("--window-id=")) {
      window_text = arg.substr(arg.find('=') + 1);
    }
  }
  // A window named on the command line wins over the daemon's variable.
  if (!window_text && root && xscreensaver_window != nullptr && *xscreensaver_window != '\0') {
    window_text = xscreensaver_window;
  }
  if (window_text) {
    const auto id = ParseWindowId(*window_text);
    if (!id) {
      error = "not a window id: \"" + std::string(*window_text) + "\"";
      return std::nullopt;
    }
    return HackTarget{false, *id};
  }
  if (root) return HackTarget{true, 0};
  return std::nullopt;
}

}  // namespace mofu::x11
