#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/rect.hpp"

namespace mofu {

// A 32-bit word for each of the 16 indices, and the two words each stored
// byte (two pixels) reads as, so a run is read a byte at a time.
struct RowColours {
  explicit RowColours(const std::array<std::uint32_t, 16>& colours);
  std::array<std::uint32_t, 16> singles;
  std::array<std::array<std::uint32_t, 2>, 256> pairs{};
};

// The sky: a persistent picture that only ever holds the 16 palette colours,
// stored as one nibble a pixel so a full-HD sky costs about 1 MB.
class Canvas {
 public:
  Canvas(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }

  std::uint8_t At(int x, int y) const;
  void Fill(std::uint8_t index);
  // Pixels [left, right) of row y in the given colours: the fast way to read
  // a run of the sky.
  void ReadRow(int y, int left, int right, const RowColours& colours, std::uint32_t* out) const;

  // A round dot of diameter `width` centred on pixel (x, y): pixel (i, j) is
  // painted when its centre lies within width/2 of the dot's centre. The
  // centre is the pixel's own centre for odd widths and its top-left corner
  // for even ones, so the dot is exactly `width` pixels across. A width of 1
  // or less sets the single pixel. Returns a rectangle that holds every pixel
  // whose colour it changed: a dot over a sky already dark asks for nothing
  // to be shown, however wide it is.
  Rect Dot(int x, int y, int width, std::uint8_t index);

 private:
  void Set(int x, int y, std::uint8_t index);
  struct Run {
    int left;
    int right;
  };
  // Sets pixels [left, right) of row y; returns the columns that changed.
  Run FillRun(int y, int left, int right, std::uint8_t index);

  int width_;
  int height_;
  std::vector<std::uint8_t> nibbles_;
};

}  // namespace mofu
