#include "platform/linux/ini_settings.hpp"

#include "platform/linux/settings_file.hpp"
#include "runtime/ini_text.hpp"
#include "runtime/regular_file.hpp"
#include "runtime/runtime_error.hpp"

namespace mofu::linux_os {

const std::string& IniSettings::Text(const std::string& path) {
  auto found = texts_.find(path);
  if (found == texts_.end()) {
    std::string text;
    if (path.empty() || ReadRegularFile(path, kSettingsFileLimit, text) != FileRead::kRead) {
      text.clear();
    }
    found = texts_.emplace(path, std::move(text)).first;
  }
  return found->second;
}

void IniSettings::Load(std::string_view app) { Text(SettingsPath(app)); }

std::optional<std::string> IniSettings::Read(std::string_view app, std::string_view section,
                                             std::string_view key) {
  return IniValue(Text(SettingsPath(app)), section, key);
}

void IniSettings::Write(std::string_view app, std::string_view section, std::string_view key,
                        std::string_view value) {
  const std::string path = SettingsPath(app);
  const auto line_break = [](std::string_view s) { return s.find_first_of("\r\n") != s.npos; };
  if (path.empty() || line_break(section) || line_break(key) || line_break(value)) {
    throw RuntimeError(ErrorNumber::kSettingsWrite, "cannot write the settings");
  }
  // Written over the file as it is now, not as it was read: nothing another
  // program put there in the meantime is lost. A file that cannot be read
  // safely is not replaced either: what it holds is the user's to sort out.
  std::string current;
  if (ReadRegularFile(path, kSettingsFileLimit, current) == FileRead::kRefused) {
    throw RuntimeError(ErrorNumber::kSettingsWrite, "cannot read " + path);
  }
  const std::string text = IniWithValue(current, section, key, value);
  if (!SaveSettingsFile(path, text)) {
    throw RuntimeError(ErrorNumber::kSettingsWrite, "cannot write " + path);
  }
  texts_[path] = text;
}

}  // namespace mofu::linux_os
