#pragma once

#include <map>
#include <string>

#include "runtime/host.hpp"

namespace mofu::linux_os {

// Settings in the file SettingsPath(app) names, one section per section, in
// the grammar of platform/ini_text.hpp. Each file is read once, safely
// (see ReadRegularFile), and kept: a file that cannot be read that way, or
// holds more than kSettingsFileLimit bytes, holds nothing, so every read
// gives its default, and no write replaces it.
class IniSettings final : public SettingsStore {
 public:
  static constexpr std::size_t kSettingsFileLimit = 64 * 1024;

  std::optional<std::string> Read(std::string_view app, std::string_view section,
                                  std::string_view key) override;
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;

  // Reads the application's file now, so later reads need no file at all.
  void Load(std::string_view app);

 private:
  const std::string& Text(const std::string& path);

  std::map<std::string, std::string> texts_;  // by path
};

}  // namespace mofu::linux_os
