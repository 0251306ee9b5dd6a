#pragma once

#include "runtime/host.hpp"

namespace mofu::win32 {

// The per-user store: HKEY_CURRENT_USER\Software\<app>\<section>, one REG_SZ
// value per key.
class RegistrySettings final : public SettingsStore {
 public:
  std::optional<std::string> Read(std::string_view app, std::string_view section,
                                  std::string_view key) override;
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;
};

}  // namespace mofu::win32
