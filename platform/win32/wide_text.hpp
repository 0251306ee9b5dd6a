#pragma once

#include <string>
#include <string_view>

namespace mofu::win32 {

// The program's text is UTF-8; Windows' wide APIs take UTF-16, so Japanese
// shows the same whatever the system's ANSI code page is.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace mofu::win32
