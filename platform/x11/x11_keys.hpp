#pragma once

#include <X11/Xlib.h>

#include <cstdint>

namespace mofu::x11 {

// A key press as the saver window's key handlers take it.
struct KeyReport {
  std::int16_t key_code = 0;
  std::int16_t shift = 0;
  std::int16_t character = 0;  // 0 when the key types no character
};

KeyReport TranslateKey(const XKeyEvent& event);

}  // namespace mofu::x11
