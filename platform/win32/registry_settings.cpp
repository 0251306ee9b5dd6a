#include "platform/win32/registry_settings.hpp"

#include "platform/win32/wide_text.hpp"
#include "platform/win32/windows_api.hpp"
#include "runtime/runtime_error.hpp"

namespace mofu::win32 {
namespace {

std::wstring KeyPath(std::string_view app, std::string_view section) {
  return L"Software\\" + Widen(app) + L"\\" + Widen(section);
}

}  // namespace

// A value that is missing, or is not text, reads as absent.
std::optional<std::string> RegistrySettings::Read(std::string_view app, std::string_view section,
                                                  std::string_view key) {
  const std::wstring path = KeyPath(app, section);
  const std::wstring name = Widen(key);
  constexpr DWORD kTextOnly = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  for (;;) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), kTextOnly, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), kTextOnly,
                                        nullptr, text.data(), &bytes);
    // Someone may have made the value longer between the two calls.
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return std::nullopt;
    text.resize(wcsnlen(text.c_str(), text.size()));
    return Narrow(text);
  }
}

void RegistrySettings::Write(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view value) {
  HKEY handle = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, nullptr, 0,
                                   KEY_SET_VALUE, nullptr, &handle, nullptr);
  if (status == ERROR_SUCCESS) {
    const std::wstring text = Widen(value);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(handle, Widen(key).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    RegCloseKey(handle);
  }
  if (status != ERROR_SUCCESS) {
    throw RuntimeError(ErrorNumber::kSettingsWrite, "The settings could not be saved");
  }
}

}  // namespace mofu::win32
