#pragma once

#include <cstdint>
#include <vector>

#include "pixel_map.h"

namespace mofu_art {

using Bytes = std::vector<std::uint8_t>;

// Each encoder returns the whole file, so nothing is written until every
// picture has been encoded; the outputs depend only on the PixelMap.
Bytes EncodeGif(const PixelMap& map);
Bytes EncodePng(const PixelMap& map);
Bytes EncodeIco(const PixelMap& map);

}  // namespace mofu_art
