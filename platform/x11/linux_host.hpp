#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>

#include "platform/host.hpp"
#include "platform/random.hpp"
#include "platform/x11/gtk_loader.hpp"
#include "platform/x11/hack_options.hpp"
#include "platform/x11/ini_settings.hpp"
#include "platform/x11/instance_lock.hpp"

namespace mofu::wayland {
class WaylandClient;
}

namespace mofu::x11 {

class X11SkySurface;

// The Linux system: the saver on plain Xlib, the dialog and message box in
// the GTK module, loaded only by the modes that show them. With a hack target
// the saver draws into a screen-saver daemon's window, which owns the input,
// the stacking, the pointer and the blanker: those requests are left alone.
// Given a Wayland compositor, the saver shows there instead of on X; the
// compositor keeps its surfaces on top, they hide the pointer themselves and
// the blanker belongs to the idle daemon, so those requests are left alone
// too.
class LinuxHost final : public Host {
 public:
  LinuxHost(int argc, char** argv, std::optional<HackTarget> hack = std::nullopt,
            std::unique_ptr<wayland::WaylandClient> wayland = nullptr);
  ~LinuxHost() override;

  bool PrevInstance() override { return lock_.HeldElsewhere(); }
  std::string CommandText() override { return command_text_; }
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
  void SetWindowPos(std::uintptr_t window, std::intptr_t insert_after, int x, int y, int cx, int cy,
                    unsigned flags) override;
  int ShowCursor(bool show) override;
  void SystemParametersInfo(unsigned action, std::int32_t param, std::int32_t* value,
                            unsigned update_flags) override;
  void ReportUnhandledError(std::string_view description) override;

 private:
  Display* OpenDisplay();
  const gtk::ModuleApi& Gtk();

  std::string command_text_;
  std::string share_folder_;
  std::string module_path_;
  std::optional<HackTarget> hack_;
  std::unique_ptr<wayland::WaylandClient> wayland_;
  InstanceLock lock_;
  IniSettings settings_;
  XorshiftSource random_;
  Display* display_ = nullptr;
  X11SkySurface* sky_ = nullptr;  // owned by the saver window
  GtkLoader gtk_;
  bool dialog_open_ = false;
  int cursor_count_ = 0;
  bool blanker_suspended_ = false;
};

}  // namespace mofu::x11
