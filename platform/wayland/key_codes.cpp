#include "platform/wayland/key_codes.hpp"

#include <linux/input-event-codes.h>

#include <array>
#include <utility>

#include "runtime/key_codes.hpp"

namespace mofu::wayland {
namespace {

constexpr std::array<std::pair<std::uint32_t, std::int16_t>, 26> kLetters{{
    {KEY_A, 'A'}, {KEY_B, 'B'}, {KEY_C, 'C'}, {KEY_D, 'D'}, {KEY_E, 'E'}, {KEY_F, 'F'},
    {KEY_G, 'G'}, {KEY_H, 'H'}, {KEY_I, 'I'}, {KEY_J, 'J'}, {KEY_K, 'K'}, {KEY_L, 'L'},
    {KEY_M, 'M'}, {KEY_N, 'N'}, {KEY_O, 'O'}, {KEY_P, 'P'}, {KEY_Q, 'Q'}, {KEY_R, 'R'},
    {KEY_S, 'S'}, {KEY_T, 'T'}, {KEY_U, 'U'}, {KEY_V, 'V'}, {KEY_W, 'W'}, {KEY_X, 'X'},
    {KEY_Y, 'Y'}, {KEY_Z, 'Z'},
}};

constexpr std::array<std::pair<std::uint32_t, std::int16_t>, 22> kOthers{{
    {KEY_ESC, keys::kEscape},       {KEY_ENTER, keys::kReturn},
    {KEY_KPENTER, keys::kReturn},   {KEY_SPACE, keys::kSpace},
    {KEY_TAB, keys::kTab},          {KEY_BACKSPACE, keys::kBack},
    {KEY_LEFTSHIFT, keys::kShift},  {KEY_RIGHTSHIFT, keys::kShift},
    {KEY_LEFTCTRL, keys::kControl}, {KEY_RIGHTCTRL, keys::kControl},
    {KEY_LEFTALT, keys::kAlt},      {KEY_RIGHTALT, keys::kAlt},
    {KEY_PAGEUP, keys::kPageUp},    {KEY_PAGEDOWN, keys::kPageDown},
    {KEY_END, keys::kEnd},          {KEY_HOME, keys::kHome},
    {KEY_LEFT, keys::kLeft},        {KEY_UP, keys::kUp},
    {KEY_RIGHT, keys::kRight},      {KEY_DOWN, keys::kDown},
    {KEY_INSERT, keys::kInsert},    {KEY_DELETE, keys::kDelete},
}};

}  // namespace

std::int16_t VirtualKeyOf(std::uint32_t code) {
  for (const auto& [evdev, key] : kLetters) {
    if (evdev == code) return key;
  }
  // KEY_1 .. KEY_9 then KEY_0 run in a row, as on the keyboard.
  if (code >= KEY_1 && code <= KEY_9) return static_cast<std::int16_t>('1' + (code - KEY_1));
  if (code == KEY_0) return '0';
  // KEY_F1 .. KEY_F10 run in a row; F11 and F12 came later.
  if (code >= KEY_F1 && code <= KEY_F10)
    return static_cast<std::int16_t>(keys::kF1 + (code - KEY_F1));
  if (code == KEY_F11 || code == KEY_F12) {
    return static_cast<std::int16_t>(keys::kF1 + 10 + (code - KEY_F11));
  }
  for (const auto& [evdev, key] : kOthers) {
    if (evdev == code) return key;
  }
  return 0;
}

std::int16_t CharacterOf(std::uint32_t code, std::int16_t shift) {
  if ((shift & (keys::kControlDown | keys::kAltDown)) != 0) return 0;
  const std::int16_t key = VirtualKeyOf(code);
  const bool shifted = (shift & keys::kShiftDown) != 0;
  if (key >= 'A' && key <= 'Z') return shifted ? key : static_cast<std::int16_t>(key + 32);
  if (key >= '0' && key <= '9') return shifted ? 0 : key;
  switch (key) {
    case keys::kEscape:
    case keys::kReturn:
    case keys::kSpace:
    case keys::kTab:
    case keys::kBack:
      return key;
    default:
      return 0;
  }
}

}  // namespace mofu::wayland
