#pragma once

#include <memory>
#include <string>

#include "platform/linux/display_part.hpp"
#include "platform/linux/gtk_loader.hpp"
#include "platform/linux/ini_settings.hpp"
#include "platform/linux/instance_lock.hpp"
#include "runtime/host.hpp"
#include "runtime/random.hpp"

namespace mofu::linux_os {

// The Linux system: the settings file, the pictures and the dialog module
// beside the program, the single-copy lock, and the dialog and message box
// in the GTK module, loaded only by the modes that show them. The screen and
// the sky come from the display part.
class LinuxHost final : public Host {
 public:
  LinuxHost(int argc, char** argv, std::unique_ptr<DisplayPart> display);

  bool PrevInstance() override { return lock_.HeldElsewhere(); }
  std::string CommandText() override { return command_text_; }
  int MsgBox(std::string_view prompt, int style, std::string_view title) override;
  SettingsStore& Settings() override { return settings_; }
  RandomSource& Random() override { return random_; }
  int ScreenPixelWidth() override { return display_->ScreenPixelWidth(); }
  int ScreenPixelHeight() override { return display_->ScreenPixelHeight(); }
  std::string PicturePath(std::string_view file_name) override;
  std::unique_ptr<SkySurface> CreateSkySurface() override;
  std::unique_ptr<DialogSurface> CreateDialogSurface(const FormDesign& design,
                                                     DialogInput& input) override;
  void RunEventLoop() override;
  void SuspendSystemBlanker(bool suspend) override;
  bool SystemBlankerSuspended() override { return blanker_suspended_; }
  void ReportUnhandledError(std::string_view description) override;

 private:
  const gtk::ModuleApi& Gtk();

  std::unique_ptr<DisplayPart> display_;
  std::string command_text_;
  std::string share_folder_;
  std::string module_path_;
  InstanceLock lock_;
  IniSettings settings_;
  XorshiftSource random_;
  GtkLoader gtk_;
  bool dialog_open_ = false;
  bool blanker_suspended_ = false;
};

}  // namespace mofu::linux_os
