#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/numeric.hpp"

// The runtime's services under the names the program's code uses.
namespace mofu {

namespace App {
bool PrevInstance();
}

namespace Screen {
// The screen's size in twips: pixels x 15 on every display density.
double Width();
double Height();
}  // namespace Screen

inline constexpr int kTwipsPerPixel = 15;

// The command line's argument text, without the program's own name.
std::string Command();

inline constexpr int vbInformation = 64;
int MsgBox(std::string_view prompt, int style, std::string_view title);

// Settings read: the stored text, or the default's decimal text when the
// application, section or key is absent.
std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       Int16 default_value);
void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value);

// The system calls of the saver window, named and numbered as on Windows.
inline constexpr std::intptr_t HWND_TOPMOST = -1;
inline constexpr unsigned SWP_NOSIZE = 1;
inline constexpr unsigned SWP_NOMOVE = 2;
inline constexpr unsigned SPI_GETSCREENSAVEACTIVE = 16;
inline constexpr unsigned SPI_SETSCREENSAVEACTIVE = 17;

void SetWindowPos(std::uintptr_t window, std::intptr_t insert_after, int x, int y, int cx, int cy,
                  unsigned flags);
int ShowCursor(Int32 show);
// `value` is the 32-bit parameter of a set request, or receives the state of
// a get request.
void SystemParametersInfoA(unsigned action, Int32 param, Int32* value, unsigned update_flags);

}  // namespace mofu
