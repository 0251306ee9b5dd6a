#pragma once

#include <cstdint>
#include <string_view>

namespace mofu::win32 {

// The arguments of a command line as Windows hands it over: the program's
// name (quoted or not) and the blanks after it cut off, the rest untouched.
std::wstring_view ArgumentText(std::wstring_view command_line);

// The window a configuration request names, "/c:HWND" or "/c HWND" with the
// handle in decimal as Windows writes it; 0 when the arguments name none.
std::uintptr_t ConfigureOwner(std::wstring_view arguments);

}  // namespace mofu::win32
