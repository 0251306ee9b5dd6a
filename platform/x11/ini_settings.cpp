#include "platform/x11/ini_settings.hpp"

#include <ini.h>

#include <cstdlib>

namespace mofu::x11 {
namespace {

struct Lookup {
  std::string section;
  std::string key;
  std::optional<std::string> value;
};

int Collect(void* user, const char* section, const char* name, const char* value) {
  auto* lookup = static_cast<Lookup*>(user);
  // A key given twice counts with its last value.
  if (lookup->section == section && lookup->key == name) lookup->value = value;
  return 1;
}

}  // namespace

std::string IniSettings::PathFor(std::string_view app) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && *config != '\0') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.config";
  }
  return base + "/" + std::string(app) + "/settings.ini";
}

// A missing or unreadable file holds nothing, so every read gives its default.
std::optional<std::string> IniSettings::Read(std::string_view app, std::string_view section,
                                             std::string_view key) {
  Lookup lookup{std::string(section), std::string(key), std::nullopt};
  if (ini_parse(PathFor(app).c_str(), Collect, &lookup) < 0) return std::nullopt;
  return lookup.value;
}

void IniSettings::Write(std::string_view app, std::string_view section, std::string_view key,
                        std::string_view value) {
  writer_(PathFor(app), std::string(section), std::string(key), std::string(value));
}

}  // namespace mofu::x11
