#pragma once

#include "platform/win32/registry_settings.hpp"
#include "platform/win32/virtual_desktop.hpp"
#include "platform/win32/windows_api.hpp"
#include "runtime/host.hpp"
#include "runtime/random.hpp"

namespace mofu::win32 {

// What the program asks of Windows.
class Win32Host final : public Host {
 public:
  explicit Win32Host(HINSTANCE instance);
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  bool PrevInstance() override { return prev_instance_; }
  std::string CommandText() override;
  int MsgBox(std::string_view prompt, int style, std::string_view title) override;
  SettingsStore& Settings() override { return settings_; }
  RandomSource& Random() override { return random_; }
  int ScreenPixelWidth() override;
  int ScreenPixelHeight() override;
  std::string PicturePath(std::string_view file_name) override;
  std::unique_ptr<SkySurface> CreateSkySurface() override;
  std::unique_ptr<DialogSurface> CreateDialogSurface(const FormDesign& design,
                                                     DialogInput& input) override;
  void RunEventLoop() override;
  void SuspendSystemBlanker(bool suspend) override;
  bool SystemBlankerSuspended() override;
  void ReportUnhandledError(std::string_view description) override;

 private:
  HINSTANCE instance_;
  // Held for the process's life: while it exists, another copy is running.
  HANDLE instance_mutex_;
  VirtualDesktop desktop_;
  bool prev_instance_;
  RegistrySettings settings_;
  XorshiftSource random_;
  HWND dialog_ = nullptr;
};

}  // namespace mofu::win32
