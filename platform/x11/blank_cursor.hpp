#pragma once

#include <X11/Xlib.h>

namespace mofu::x11 {

// A pointer shape with no visible pixel, for the screen the saver covers.
Cursor CreateBlankCursor(Display* display, Drawable on);

}  // namespace mofu::x11
