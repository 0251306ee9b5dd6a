#include <stb_image_write.h>

#include "encoders.h"

namespace mofu_art {
namespace {

void AppendToBytes(void* context, void* data, int size) {
  auto* out = static_cast<Bytes*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

Bytes EncodePng(const PixelMap& map) {
  Bytes rgb;
  rgb.reserve(static_cast<std::size_t>(map.width) * map.height * 3);
  for (int y = 0; y < map.height; ++y) {
    for (int x = 0; x < map.width; ++x) {
      const Rgb c = map.ColourAt(x, y);
      rgb.insert(rgb.end(), {c.r, c.g, c.b});
    }
  }
  Bytes out;
  if (stbi_write_png_to_func(AppendToBytes, &out, map.width, map.height, 3, rgb.data(),
                             map.width * 3) == 0) {
    throw ArtError("stb_image_write could not encode the PNG");
  }
  return out;
}

}  // namespace mofu_art
