#pragma once

#include "platform/win32/windows_api.hpp"

namespace mofu::win32 {

// Makes the process per-monitor DPI aware, so the saver covers the screen
// in real pixels and the dialog can size itself for the monitor it is on.
// The manifest asks for the same; this covers a program started without it.
void BecomeDpiAware();

// The DPI of the monitor a window is on (96 where Windows cannot say).
UINT WindowDpi(HWND window);

// The outer size of a window whose client area has the given size at a DPI.
RECT WindowRectForClient(int client_width, int client_height, DWORD style, DWORD ex_style,
                         UINT dpi);

// Design units (twips, 15 a pixel at 96 DPI) in pixels at a DPI.
int TwipsToPixels(int twips, UINT dpi);

}  // namespace mofu::win32
