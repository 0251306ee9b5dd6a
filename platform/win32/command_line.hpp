#pragma once

#include <string_view>

namespace mofu::win32 {

// The arguments of a command line as Windows hands it over: the program's
// name (quoted or not) and the blanks after it cut off, the rest untouched.
std::wstring_view ArgumentText(std::wstring_view command_line);

}  // namespace mofu::win32
