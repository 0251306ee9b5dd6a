#pragma once

#include <compare>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace mofu_art {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend constexpr auto operator<=>(const Rgb&, const Rgb&) = default;
};

// A picture as its source describes it: palette indices, so the GIF keeps the
// artist's palette order and every output is reproducible from the text alone.
struct PixelMap {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;
  std::vector<std::uint8_t> pixels;  // row-major, top row first

  std::uint8_t IndexAt(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * width + x];
  }
  Rgb ColourAt(int x, int y) const { return palette[IndexAt(x, y)]; }
  bool operator==(const PixelMap&) const = default;
};

// Every rejection of a source or a picture, worded for the person editing it.
class ArtError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace mofu_art
