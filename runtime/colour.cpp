#include "runtime/colour.hpp"

#include "runtime/runtime_error.hpp"

namespace mofu {

Colour QBColor(int index) {
  if (index < 0 || index > 15) {
    throw RuntimeError(ErrorNumber::kOverflow, "Invalid procedure call or argument");
  }
  return kPalette[static_cast<std::size_t>(index)];
}

std::optional<std::uint8_t> PaletteIndexOf(Colour colour) {
  for (std::size_t i = 0; i < kPalette.size(); ++i) {
    if (kPalette[i] == colour) return static_cast<std::uint8_t>(i);
  }
  return std::nullopt;
}

}  // namespace mofu
