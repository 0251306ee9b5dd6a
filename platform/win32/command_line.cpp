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

// Strict: a handle that is not all digits, or too big to be one, is no
// handle at all, rather than the number its first digits happen to make.
std::uintptr_t ConfigureOwner(std::wstring_view arguments) {
  if (arguments.size() < 4 || arguments[0] != L'/' ||
      (arguments[1] != L'c' && arguments[1] != L'C') ||
      (arguments[2] != L':' && arguments[2] != L' ')) {
    return 0;
  }
  std::uintptr_t handle = 0;
  for (const wchar_t c : arguments.substr(3)) {
    if (c < L'0' || c > L'9') return 0;
    const auto digit = static_cast<std::uintptr_t>(c - L'0');
    if (handle > (UINTPTR_MAX - digit) / 10) return 0;
    handle = handle * 10 + digit;
  }
  return handle;
}

}  // namespace mofu::win32
