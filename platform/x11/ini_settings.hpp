#pragma once

#include <functional>
#include <string>

#include "platform/host.hpp"

namespace mofu::x11 {

// Settings in ${XDG_CONFIG_HOME:-$HOME/.config}/<app>/settings.ini, one group
// per section. Reading uses inih, which is small enough for the saver to
// carry; only the dialog writes, so writing is handed to the dialog's module.
class IniSettings final : public SettingsStore {
 public:
  // Replaces one value in the file; raises a run-time error on failure.
  using Writer = std::function<void(const std::string& path, const std::string& section,
                                    const std::string& key, const std::string& value)>;
  explicit IniSettings(Writer writer) : writer_(std::move(writer)) {}

  std::optional<std::string> Read(std::string_view app, std::string_view section,
                                  std::string_view key) override;
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;

  static std::string PathFor(std::string_view app);

 private:
  Writer writer_;
};

}  // namespace mofu::x11
