#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace mofu {

// A colour as 0x00BBGGRR, the order the classic RGB() function packs it in.
using Colour = std::uint32_t;

constexpr Colour RGB(int red, int green, int blue) {
  return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 |
         static_cast<Colour>(blue) << 16;
}

// The fixed 16-colour palette; index 0 is black.
inline constexpr std::array<Colour, 16> kPalette = {
    RGB(0, 0, 0),       RGB(0, 0, 128),   RGB(0, 128, 0),   RGB(0, 128, 128),
    RGB(128, 0, 0),     RGB(128, 0, 128), RGB(128, 128, 0), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
    RGB(255, 0, 0),     RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 255, 255),
};

// The palette colour with the given index 0..15.
Colour QBColor(int index);

// The palette index of a colour, if it is one of the sixteen.
std::optional<std::uint8_t> PaletteIndexOf(Colour colour);

// 0x00RRGGBB, the layout of a 32-bit pixel on X11 and in a Windows DIB.
constexpr std::uint32_t ToXrgb(Colour c) {
  return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

}  // namespace mofu
