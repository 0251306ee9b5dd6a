#pragma once

#include <string_view>

#include "pixel_map.h"

namespace mofu_art {

// Reads the text form described in assets/README.md. Throws ArtError naming the
// offending line, so a typo in a hand-drawn map is quick to find.
PixelMap ParsePixelMap(std::string_view text);

}  // namespace mofu_art
