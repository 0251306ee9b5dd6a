#pragma once

#include <string>

#include "platform/host.hpp"

namespace mofu::x11 {

// Settings in ${XDG_CONFIG_HOME:-$HOME/.config}/<app>/settings.ini, one group
// per section. Writes replace the file atomically, keeping whatever else the
// file holds.
class KeyFileSettings final : public SettingsStore {
 public:
  std::optional<std::string> Read(std::string_view app, std::string_view section,
                                  std::string_view key) override;
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;

  static std::string PathFor(std::string_view app);
};

}  // namespace mofu::x11
