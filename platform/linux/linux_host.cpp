#include "platform/linux/linux_host.hpp"

#include <sys/prctl.h>
#include <time.h>
#include <unistd.h>

#include <climits>
#include <cstdio>

#include "runtime/runtime_error.hpp"

namespace mofu::linux_os {
namespace {

constexpr unsigned long kTimerSlackNanos = 1'000'000;
constexpr int kStopStyle = 16;
constexpr char kProgramTitle[] = "Mofu Saver";

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

}  // namespace

LinuxHost::LinuxHost(int argc, char** argv, std::unique_ptr<DisplayPart> display)
    : display_(std::move(display)),
      lock_(display_->InstanceName(), display_->MakeLockFallback()),
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

std::string LinuxHost::PicturePath(std::string_view file_name) {
  return share_folder_ + "/" + std::string(file_name);
}

std::unique_ptr<SkySurface> LinuxHost::CreateSkySurface() {
  // The saver's window takes the keyboard and pointer as soon as it shows,
  // and its load handler reads the settings only after that: they are read
  // now, so that no file can keep the desktop locked.
  settings_.Load("mofu");
  // The saver sleeps a frame at a time and nothing depends on waking to the
  // microsecond: letting the kernel wake it up to a millisecond late lets
  // its wake-up share a timer interrupt with others. Input still wakes it at
  // once, and the pace is kept by the clock, not by the sleeps.
  prctl(PR_SET_TIMERSLACK, kTimerSlackNanos, 0, 0, 0);
  return display_->CreateSkySurface();
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

void LinuxHost::SuspendSystemBlanker(bool suspend) {
  blanker_suspended_ = suspend;
  display_->SuspendBlanker(suspend);
}

// Standard error always hears of it, first, so the line is there however
// the box fares. The box needs the dialog module and a display; without
// either the line was the report. A daemon running the saver in its own
// window hides the desktop a box would open on, and nobody is there to
// answer it: then the line is all.
void LinuxHost::ReportUnhandledError(std::string_view description) {
  std::fprintf(stderr, "mofu: %.*s\n", static_cast<int>(description.size()), description.data());
  if (!display_->MayShowMessages()) return;
  // The saver's window is gone, but not its hold on the display's own
  // blanker: the desktop gets it back while the box waits for an answer.
  if (blanker_suspended_) SuspendSystemBlanker(false);
  try {
    Gtk().message_box(std::string(description).c_str(), kStopStyle, kProgramTitle);
  } catch (const RuntimeError&) {
  }
}

}  // namespace mofu::linux_os
