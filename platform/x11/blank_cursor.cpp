// Only Xlib's request interface is included here: its min and max macros
// would clash with the standard library's.
#include "platform/x11/blank_cursor.hpp"

#include <X11/Xlibint.h>

namespace mofu::x11 {

// XCreatePixmapCursor, and even XCreatePixmap for a one-bit pixmap, first
// load the Xcursor library (and two more with it) for the themed-cursor
// hook; they would stay resident for as long as the saver runs. The plain
// requests are all a blank pointer needs. (Xlib's request macros expect the
// display to be called dpy.)
Cursor CreateBlankCursor(Display* dpy, Drawable on) {
  constexpr unsigned kSide = 8;
  LockDisplay(dpy);
  xCreatePixmapReq* pixmap_request;
  GetReq(CreatePixmap, pixmap_request);
  const Pixmap empty = XAllocID(dpy);
  pixmap_request->depth = 1;
  pixmap_request->pid = static_cast<CARD32>(empty);
  pixmap_request->drawable = static_cast<CARD32>(on);
  pixmap_request->width = pixmap_request->height = kSide;
  UnlockDisplay(dpy);
  SyncHandle();

  // A new pixmap holds whatever was there: every bit is cleared first.
  XGCValues values{};
  values.foreground = 0;
  GC clear = XCreateGC(dpy, empty, GCForeground, &values);
  XFillRectangle(dpy, empty, clear, 0, 0, kSide, kSide);
  XFreeGC(dpy, clear);

  LockDisplay(dpy);
  xCreateCursorReq* cursor_request;
  GetReq(CreateCursor, cursor_request);
  const Cursor cursor = XAllocID(dpy);
  cursor_request->cid = static_cast<CARD32>(cursor);
  cursor_request->source = static_cast<CARD32>(empty);
  cursor_request->mask = static_cast<CARD32>(empty);
  cursor_request->foreRed = cursor_request->foreGreen = cursor_request->foreBlue = 0;
  cursor_request->backRed = cursor_request->backGreen = cursor_request->backBlue = 0;
  cursor_request->x = cursor_request->y = 0;
  UnlockDisplay(dpy);
  SyncHandle();
  XFreePixmap(dpy, empty);
  return cursor;
}

}  // namespace mofu::x11
