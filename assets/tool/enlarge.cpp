#include "enlarge.h"

#include "message.h"

namespace mofu_art {

PixelMap Enlarge(const PixelMap& map, int factor) {
  if (factor < 1) throw ArtError(Message("cannot enlarge by ", factor));
  PixelMap large{map.width * factor, map.height * factor, map.palette, {}};
  large.pixels.reserve(static_cast<std::size_t>(large.width) * large.height);
  for (int y = 0; y < large.height; ++y) {
    for (int x = 0; x < large.width; ++x)
      large.pixels.push_back(map.IndexAt(x / factor, y / factor));
  }
  return large;
}

}  // namespace mofu_art
