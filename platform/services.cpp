#include "platform/services.hpp"

#include "platform/host.hpp"

namespace mofu {

bool App::PrevInstance() { return host().PrevInstance(); }

double Screen::Width() { return static_cast<double>(host().ScreenPixelWidth()) * kTwipsPerPixel; }
double Screen::Height() { return static_cast<double>(host().ScreenPixelHeight()) * kTwipsPerPixel; }

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

void SetWindowPos(std::uintptr_t window, std::intptr_t insert_after, int x, int y, int cx, int cy,
                  unsigned flags) {
  host().SetWindowPos(window, insert_after, x, y, cx, cy, flags);
}

int ShowCursor(Int32 show) { return host().ShowCursor(show != 0); }

void SystemParametersInfoA(unsigned action, Int32 param, Int32* value, unsigned update_flags) {
  host().SystemParametersInfo(action, param, value, update_flags);
}

}  // namespace mofu
