#pragma once

#include "platform/win32/windows_api.hpp"

namespace mofu::win32 {

// Paints a group box the classic way, in the colours its parent gives it
// through WM_CTLCOLORSTATIC. A themed group box draws its caption in the
// theme's colour whatever the parent asks, so frames with a caption colour
// of their own are painted here, themed or not.
void PaintGroupBoxClassically(HWND box);

}  // namespace mofu::win32
