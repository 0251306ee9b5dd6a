#include "platform/win32/command_line.hpp"

namespace mofu::win32 {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

// The same rule the C runtime uses for argv[0]: a quoted name runs to the
// closing quote, an unquoted one to the first blank.
std::wstring_view ArgumentText(std::wstring_view command_line) {
  std::size_t i = 0;
  if (!command_line.empty() && command_line[0] == L'"') {
    const std::size_t close = command_line.find(L'"', 1);
    i = close == std::wstring_view::npos ? command_line.size() : close + 1;
  }
  while (i < command_line.size() && !IsBlank(command_line[i])) ++i;
  while (i < command_line.size() && IsBlank(command_line[i])) ++i;
  return command_line.substr(i);
}

}  // namespace mofu::win32
