#pragma once

#include "pixel_map.h"

namespace mofu_art {

// Each pixel becomes a factor x factor block of the same colour, so a larger
// icon stays as crisp as the hand-drawn one.
PixelMap Enlarge(const PixelMap& map, int factor);

}  // namespace mofu_art
