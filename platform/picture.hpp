#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mofu {

// A decoded picture: rows of 0x00RRGGBB pixels.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  bool Empty() const { return width == 0 || height == 0; }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Reads a picture file (GIF, PNG, BMP). A missing file raises "File not
// found"; a file that cannot be decoded raises "Invalid picture".
Picture LoadPicture(const std::string& path);

// Decodes a picture already in memory; raises "Invalid picture" on failure.
Picture DecodePicture(const std::uint8_t* data, std::size_t size);

}  // namespace mofu
