#include "platform/win32/win32_host.hpp"

#include "platform/win32/command_line.hpp"
#include "platform/win32/dialog_window.hpp"
#include "platform/win32/pending_exception.hpp"
#include "platform/win32/saver_window.hpp"
#include "platform/win32/wide_text.hpp"
#include "runtime/numeric.hpp"

namespace mofu::win32 {
namespace {

constexpr wchar_t kInstanceMutexName[] = L"MofuSaver.SingleInstance";
constexpr wchar_t kProgramTitle[] = L"Mofu Saver";

// Started by the screen-saver settings as "/c:HWND", the dialog belongs to
// that window; a number that is no window is ignored.
HWND ConfigureOwnerWindow() {
  HWND owner = reinterpret_cast<HWND>(ConfigureOwner(ArgumentText(GetCommandLineW())));
  return owner != nullptr && IsWindow(owner) ? owner : nullptr;
}

std::uint64_t RandomSeed() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<std::uint64_t>(counter.QuadPart) ^
         static_cast<std::uint64_t>(GetCurrentProcessId()) << 32 ^ GetTickCount64();
}

}  // namespace

// The mutex comes first, before anything looks at the command line: a second
// copy must find it whatever it was asked to do.
Win32Host::Win32Host(HINSTANCE instance)
    : instance_(instance),
      instance_mutex_(CreateMutexW(nullptr, FALSE, kInstanceMutexName)),
      prev_instance_(GetLastError() == ERROR_ALREADY_EXISTS),
      random_(RandomSeed()) {}

Win32Host::~Win32Host() {
  if (instance_mutex_ != nullptr) CloseHandle(instance_mutex_);
}

std::string Win32Host::CommandText() { return Narrow(ArgumentText(GetCommandLineW())); }

int Win32Host::MsgBox(std::string_view prompt, int style, std::string_view title) {
  return MessageBoxW(nullptr, Widen(prompt).c_str(), Widen(title).c_str(),
                     static_cast<UINT>(style));
}

// The screen is every monitor, as on Linux. Asked for every star and eraser
// dot; under Wine each asking is a round trip to the server, so the size is
// read once and again only when the displays change.
int Win32Host::ScreenPixelWidth() { return desktop_.Area().width; }

int Win32Host::ScreenPixelHeight() { return desktop_.Area().height; }

// The pictures live in the Windows folder, "c:\windows" on a usual system.
std::string Win32Host::PicturePath(std::string_view file_name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "c:\\windows\\" + std::string(file_name);
  return Narrow(std::wstring_view(folder, length)) + "\\" + std::string(file_name);
}

std::unique_ptr<SkySurface> Win32Host::CreateSkySurface() {
  return std::make_unique<SaverWindow>(instance_, desktop_);
}

std::unique_ptr<DialogSurface> Win32Host::CreateDialogSurface(const FormDesign& design,
                                                              DialogInput& input) {
  auto dialog = std::make_unique<DialogWindow>(instance_, design, input, ConfigureOwnerWindow());
  dialog_ = dialog->Window();
  return dialog;
}

// The dialog manager sees each message first, for Tab, the arrow keys and
// Enter; a handler that ended the process stops the loop right after it.
void Win32Host::RunEventLoop() {
  MSG message;
  while (dialog_ != nullptr && IsWindow(dialog_) && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(dialog_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    RethrowPendingException();
  }
}

// Windows calls its own blanker "the screen saver", and holding it off while
// a saver runs "declaring the screen saver active"; the user's profile is
// never written.
void Win32Host::SuspendSystemBlanker(bool suspend) {
  SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, suspend ? TRUE : FALSE, nullptr, 0);
}

bool Win32Host::SystemBlankerSuspended() {
  BOOL active = FALSE;
  SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  return active != FALSE;
}

// Topmost, so no other window hides the report; with the pointer shown,
// which a saver that failed may have left hidden, so the box can be
// answered with the mouse.
void Win32Host::ReportUnhandledError(std::string_view description) {
  for (int i = 0; i < 64 && ::ShowCursor(TRUE) < 0; ++i) {
  }
  MessageBoxW(nullptr, Widen(description).c_str(), kProgramTitle,
              MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
}

}  // namespace mofu::win32
