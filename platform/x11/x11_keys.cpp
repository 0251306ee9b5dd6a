#include "platform/x11/x11_keys.hpp"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "runtime/key_codes.hpp"

namespace mofu::x11 {
namespace {

std::int16_t ShiftState(unsigned state) {
  return static_cast<std::int16_t>(((state & ShiftMask) ? keys::kShiftDown : 0) |
                                   ((state & ControlMask) ? keys::kControlDown : 0) |
                                   ((state & Mod1Mask) ? keys::kAltDown : 0));
}

// The classic virtual-key numbers for the keys that have obvious ones.
std::int16_t KeyCodeOf(KeySym sym) {
  if (sym >= XK_a && sym <= XK_z) return static_cast<std::int16_t>(sym - XK_a + 'A');
  if ((sym >= XK_A && sym <= XK_Z) || (sym >= XK_0 && sym <= XK_9))
    return static_cast<std::int16_t>(sym);
  switch (sym) {
    case XK_Shift_L:
    case XK_Shift_R:
      return keys::kShift;
    case XK_Control_L:
    case XK_Control_R:
      return keys::kControl;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
      return keys::kAlt;
    case XK_Return:
    case XK_KP_Enter:
      return keys::kReturn;
    case XK_Escape:
      return keys::kEscape;
    case XK_space:
      return keys::kSpace;
    case XK_Tab:
      return keys::kTab;
    case XK_BackSpace:
      return keys::kBack;
    default:
      return static_cast<std::int16_t>(sym & 0xFF);
  }
}

}  // namespace

KeyReport TranslateKey(const XKeyEvent& event) {
  XKeyEvent key = event;
  char text[8] = {};
  KeySym sym = NoSymbol;
  const int length = XLookupString(&key, text, sizeof text, &sym, nullptr);
  KeyReport report;
  report.key_code = KeyCodeOf(sym);
  report.shift = ShiftState(key.state);
  if (length == 1)
    report.character = static_cast<std::int16_t>(static_cast<unsigned char>(text[0]));
  return report;
}

}  // namespace mofu::x11
