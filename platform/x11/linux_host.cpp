#include "platform/x11/linux_host.hpp"

#include <X11/extensions/scrnsaver.h>
#include <sys/prctl.h>
#include <time.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/runtime_error.hpp"
#include "platform/services.hpp"
#include "platform/wayland/wayland_client.hpp"
#include "platform/x11/x11_sky_surface.hpp"

namespace mofu::x11 {
namespace {

constexpr unsigned long kTimerSlackNanos = 1'000'000;

std::string ExecutableFolder() {
  char path[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string full(path, static_cast<std::size_t>(n));
  return full.substr(0, full.find_last_of('/'));
}

std::uint64_t Seed() {
  struct timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<std::uint64_t>(now.tv_nsec) ^ static_cast<std::uint64_t>(now.tv_sec) << 20 ^
         static_cast<std::uint64_t>(getpid()) << 40;
}

// One copy per window in hack mode: a daemon runs one on each monitor.
// Window ids repeat across X servers, so the display is part of the name.
std::string LockName(const std::optional<HackTarget>& hack) {
  if (!hack) return "mofu";
  const char* display = std::getenv("DISPLAY");
  std::string name =
      "mofu-window-" + std::string(display != nullptr ? display : "") + "-" + hack->Describe();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

}  // namespace

LinuxHost::LinuxHost(int argc, char** argv, std::optional<HackTarget> hack,
                     std::unique_ptr<wayland::WaylandClient> wayland)
    : hack_(hack),
      wayland_(std::move(wayland)),
      lock_(LockName(hack), wayland_ == nullptr),
      random_(Seed()) {
  // The argument text is what follows the program's name, as one string.
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_text_ += ' ';
    command_text_ += argv[i];
  }
  const std::string folder = ExecutableFolder();
  share_folder_ = folder + "/../share/mofu";
  module_path_ = folder + "/../lib/mofu/mofu-gtk.so";
}

LinuxHost::~LinuxHost() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

Display* LinuxHost::OpenDisplay() {
  if (display_ == nullptr) {
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) {
      throw RuntimeError(ErrorNumber::kPathFileAccess, "cannot open the X display");
    }
  }
  return display_;
}

const gtk::ModuleApi& LinuxHost::Gtk() {
  std::string error;
  const gtk::ModuleApi* api = gtk_.Load(module_path_, error);
  if (api == nullptr) throw RuntimeError(ErrorNumber::kFileNotFound, error);
  if (!api->init()) throw RuntimeError(ErrorNumber::kPathFileAccess, "cannot open the display");
  return *api;
}

int LinuxHost::MsgBox(std::string_view prompt, int style, std::string_view title) {
  return Gtk().message_box(std::string(prompt).c_str(), style, std::string(title).c_str());
}

// In hack mode the screen is the handed window, at its size of the moment.
int LinuxHost::ScreenPixelWidth() {
  if (wayland_ != nullptr) return wayland_->Geometry().Width();
  if (hack_ && sky_ != nullptr) return sky_->Width();
  Display* d = OpenDisplay();
  return DisplayWidth(d, DefaultScreen(d));
}

int LinuxHost::ScreenPixelHeight() {
  if (wayland_ != nullptr) return wayland_->Geometry().Height();
  if (hack_ && sky_ != nullptr) return sky_->Height();
  Display* d = OpenDisplay();
  return DisplayHeight(d, DefaultScreen(d));
}

std::string LinuxHost::PicturePath(std::string_view file_name) {
  return share_folder_ + "/" + std::string(file_name);
}

std::unique_ptr<SkySurface> LinuxHost::CreateSkySurface() {
  // The saver's window grabs keyboard and pointer as soon as it shows, and
  // its load handler reads the settings only after that: they are read now,
  // so that no file can keep the desktop locked.
  settings_.Load("mofu");
  // The saver sleeps a frame at a time and nothing depends on waking to the
  // microsecond: letting the kernel wake it up to a millisecond late lets
  // its wake-up share a timer interrupt with others. Input still wakes it at
  // once, and the pace is kept by the clock, not by the sleeps.
  prctl(PR_SET_TIMERSLACK, kTimerSlackNanos, 0, 0, 0);
  if (wayland_ != nullptr) return wayland_->CreateSkySurface();
  Display* d = OpenDisplay();
  std::unique_ptr<X11SkySurface> surface;
  if (hack_) {
    const Window target = hack_->root ? RootWindow(d, DefaultScreen(d)) : hack_->window;
    surface = std::make_unique<X11SkySurface>(d, target);
  } else {
    surface = std::make_unique<X11SkySurface>(d);
  }
  sky_ = surface.get();
  return surface;
}

std::unique_ptr<DialogSurface> LinuxHost::CreateDialogSurface(const FormDesign& design,
                                                              DialogInput& input) {
  const std::string icon = share_folder_ + "/mofu.png";
  auto dialog = Gtk().create_dialog(design, input, icon.c_str());
  dialog_open_ = true;
  return dialog;
}

void LinuxHost::RunEventLoop() {
  if (dialog_open_) Gtk().run_event_loop();
}

void LinuxHost::SetWindowPos(std::uintptr_t, std::intptr_t insert_after, int, int, int, int,
                             unsigned) {
  if (!hack_ && sky_ != nullptr && insert_after == HWND_TOPMOST) sky_->KeepOnTop();
}

// The pointer keeps a display count, as on Windows: it shows while the count
// is zero or more.
int LinuxHost::ShowCursor(bool show) {
  cursor_count_ += show ? 1 : -1;
  if (!hack_ && sky_ != nullptr) sky_->SetPointerHidden(cursor_count_ < 0);
  return cursor_count_;
}

// "Screen saver active" here means the X server's own blanker is held off
// while the saver runs. The server lifts the hold by itself if the process
// dies, so the desktop is never left without its blanker.
void LinuxHost::SystemParametersInfo(unsigned action, std::int32_t param, std::int32_t* value,
                                     unsigned) {
  if (action == SPI_GETSCREENSAVEACTIVE) {
    if (value != nullptr) *value = blanker_suspended_ ? kTrue : kFalse;
    return;
  }
  if (action != SPI_SETSCREENSAVEACTIVE || display_ == nullptr || hack_) return;
  blanker_suspended_ = param != 0;
  XScreenSaverSuspend(display_, blanker_suspended_ ? True : False);
  XFlush(display_);
}

void LinuxHost::ReportUnhandledError(std::string_view description) {
  std::fprintf(stderr, "mofu: %.*s\n", static_cast<int>(description.size()), description.data());
}

}  // namespace mofu::x11
