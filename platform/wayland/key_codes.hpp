#pragma once

#include <cstdint>

namespace mofu::wayland {

// Modifier state as the classic key events carry it: 1 shift, 2 control,
// 4 alt.
constexpr std::int16_t kShift = 1;
constexpr std::int16_t kControl = 2;
constexpr std::int16_t kAlt = 4;

// The classic virtual-key number of a Linux input key code (0 for a key
// without an obvious one), and the character it types on a US layout (0 for
// none). Without a keymap library this is an approximation, which is enough:
// every key ends the saver whatever its number.
std::int16_t VirtualKeyOf(std::uint32_t evdev_code);
std::int16_t CharacterOf(std::uint32_t evdev_code, std::int16_t shift);

}  // namespace mofu::wayland
