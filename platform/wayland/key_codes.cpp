#include "platform/wayland/key_codes.hpp"

#include <linux/input-event-codes.h>

#include <array>
#include <utility>

namespace mofu::wayland {
namespace {

constexpr std::array<std::pair<std::uint32_t, std::int16_t>, 26> kLetters{{
    {KEY_A, 'A'}, {KEY_B, 'B'}, {KEY_C, 'C'}, {KEY_D, 'D'}, {KEY_E, 'E'}, {KEY_F, 'F'},
    {KEY_G, 'G'}, {KEY_H, 'H'}, {KEY_I, 'I'}, {KEY_J, 'J'}, {KEY_K, 'K'}, {KEY_L, 'L'},
    {KEY_M, 'M'}, {KEY_N, 'N'}, {KEY_O, 'O'}, {KEY_P, 'P'}, {KEY_Q, 'Q'}, {KEY_R, 'R'},
    {KEY_S, 'S'}, {KEY_T, 'T'}, {KEY_U, 'U'}, {KEY_V, 'V'}, {KEY_W, 'W'}, {KEY_X, 'X'},
    {KEY_Y, 'Y'}, {KEY_Z, 'Z'},
}};

constexpr std::array<std::pair<std::uint32_t, std::int16_t>, 30> kOthers{{
    {KEY_ESC, 27},      {KEY_ENTER, 13},     {KEY_KPENTER, 13},   {KEY_SPACE, 32},
    {KEY_TAB, 9},       {KEY_BACKSPACE, 8},  {KEY_LEFTSHIFT, 16}, {KEY_RIGHTSHIFT, 16},
    {KEY_LEFTCTRL, 17}, {KEY_RIGHTCTRL, 17}, {KEY_LEFTALT, 18},   {KEY_RIGHTALT, 18},
    {KEY_PAGEUP, 33},   {KEY_PAGEDOWN, 34},  {KEY_END, 35},       {KEY_HOME, 36},
    {KEY_LEFT, 37},     {KEY_UP, 38},        {KEY_RIGHT, 39},     {KEY_DOWN, 40},
    {KEY_INSERT, 45},   {KEY_DELETE, 46},    {KEY_F1, 112},       {KEY_F2, 113},
    {KEY_F3, 114},      {KEY_F4, 115},       {KEY_F5, 116},       {KEY_F6, 117},
    {KEY_F7, 118},      {KEY_F8, 119},
}};

}  // namespace

std::int16_t VirtualKeyOf(std::uint32_t code) {
  for (const auto& [evdev, key] : kLetters) {
    if (evdev == code) return key;
  }
  // KEY_1 .. KEY_9 then KEY_0 run in a row, as on the keyboard.
  if (code >= KEY_1 && code <= KEY_9) return static_cast<std::int16_t>('1' + (code - KEY_1));
  if (code == KEY_0) return '0';
  if (code >= KEY_F9 && code <= KEY_F10) return static_cast<std::int16_t>(120 + (code - KEY_F9));
  if (code == KEY_F11) return 122;
  if (code == KEY_F12) return 123;
  for (const auto& [evdev, key] : kOthers) {
    if (evdev == code) return key;
  }
  return 0;
}

std::int16_t CharacterOf(std::uint32_t code, std::int16_t shift) {
  if ((shift & (kControl | kAlt)) != 0) return 0;
  const std::int16_t key = VirtualKeyOf(code);
  if (key >= 'A' && key <= 'Z') return (shift & kShift) ? key : static_cast<std::int16_t>(key + 32);
  if (key >= '0' && key <= '9') return (shift & kShift) ? 0 : key;
  switch (key) {
    case 27:
    case 13:
    case 32:
    case 9:
    case 8:
      return key;
    default:
      return 0;
  }
}

}  // namespace mofu::wayland
