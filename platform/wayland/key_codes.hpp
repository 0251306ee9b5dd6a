#pragma once

#include <cstdint>

namespace mofu::wayland {

// The classic virtual-key number of a Linux input key code (0 for a key
// without an obvious one), and the character it types on a US layout (0 for
// none). Without a keymap library this is an approximation, which is enough:
// every key ends the saver whatever its number.
std::int16_t VirtualKeyOf(std::uint32_t evdev_code);
std::int16_t CharacterOf(std::uint32_t evdev_code, std::int16_t shift);

}  // namespace mofu::wayland
