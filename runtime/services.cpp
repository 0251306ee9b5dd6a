#include "runtime/services.hpp"

#include "runtime/host.hpp"
#include "runtime/sky_window.hpp"

namespace mofu {

bool App::PrevInstance() { return host().PrevInstance(); }

// Once the sky shows, the screen is what it covers, at its size of the
// moment: a screen that changed size, or the window a daemon handed over.
double Screen::Width() {
  const SkyWindow* sky = SkyWindow::Current();
  return (sky != nullptr ? sky->ScaleWidth() : host().ScreenPixelWidth()) * kTwipsPerPixel;
}
double Screen::Height() {
  const SkyWindow* sky = SkyWindow::Current();
  return (sky != nullptr ? sky->ScaleHeight() : host().ScreenPixelHeight()) * kTwipsPerPixel;
}

std::string Command() { return host().CommandText(); }

int MsgBox(std::string_view prompt, int style, std::string_view title) {
  return host().MsgBox(prompt, style, title);
}

std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       Int16 default_value) {
  auto stored = host().Settings().Read(app, section, key);
  return stored ? *stored : Int16ToText(default_value);
}

void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value) {
  host().Settings().Write(app, section, key, value);
}

// The saver's system calls keep their Windows names and numbers in the
// program; here they become what any system can be asked for. The only
// placement the saver asks for is its own window above all others.
void SetWindowPos(std::uintptr_t window, std::intptr_t insert_after, int, int, int, int, unsigned) {
  SkyWindow* sky = SkyWindow::Current();
  if (insert_after == HWND_TOPMOST && sky != nullptr && sky->hWnd() == window) sky->KeepOnTop();
}

int ShowCursor(Int32 show) {
  SkyWindow* sky = SkyWindow::Current();
  return sky != nullptr ? sky->ShowCursor(show != 0) : 0;
}

// Only the screen-saver-active setting: 16 reads it, 17 sets it.
void SystemParametersInfoA(unsigned action, Int32 param, Int32* value, unsigned) {
  if (action == SPI_GETSCREENSAVEACTIVE && value != nullptr) {
    *value = host().SystemBlankerSuspended() ? kTrue : kFalse;
  } else if (action == SPI_SETSCREENSAVEACTIVE) {
    host().SuspendSystemBlanker(param != 0);
  }
}

}  // namespace mofu
