#include "platform/win32/dpi.hpp"

namespace mofu::win32 {
namespace {

// These calls came with Windows 10; looked up at run time so the program
// still starts on a system that lacks them.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using SetContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
using DpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

constexpr UINT kStandardDpi = 96;
constexpr int kTwipsPerPixel = 15;

}  // namespace

void BecomeDpiAware() {
  if (auto set_context = User32Function<SetContextFn>("SetProcessDpiAwarenessContext")) {
    if (set_context(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
    // Already set by the manifest, or an older Windows 10 without V2.
    if (GetLastError() == ERROR_ACCESS_DENIED) return;
  }
  SetProcessDPIAware();
}

UINT WindowDpi(HWND window) {
  if (auto dpi_for_window = User32Function<DpiForWindowFn>("GetDpiForWindow")) {
    if (const UINT dpi = dpi_for_window(window)) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kStandardDpi;
}

RECT WindowRectForClient(int client_width, int client_height, DWORD style, DWORD ex_style,
                         UINT dpi) {
  RECT rect{0, 0, client_width, client_height};
  if (auto adjust = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi")) {
    adjust(&rect, style, FALSE, ex_style, dpi);
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  }
  return rect;
}

int TwipsToPixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), kTwipsPerPixel * static_cast<int>(kStandardDpi));
}

}  // namespace mofu::win32
