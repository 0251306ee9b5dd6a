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

// What a picture may cost. The pose pictures are a few kilobytes; anything
// far beyond that is a mistake or an attack, refused before it is decoded.
// A pose change decodes its picture between two passes of the loop, where no
// input is seen: half a million pixels decode in 5 to 7 ms of processor time,
// well within a frame, so no picture keeps a key waiting longer.
inline constexpr std::size_t kPictureFileLimit = 4u << 20;
inline constexpr int kPictureSideLimit = 4096;
inline constexpr std::int64_t kPicturePixelLimit = 1 << 19;

// Reads a GIF picture file. A missing file raises "File not
// found"; one that is not a regular file of at most kPictureFileLimit bytes
// raises "Path/File access error"; one that cannot be decoded, or declares
// an image beyond the limits above, raises "Invalid picture".
Picture LoadPicture(const std::string& path);

// Decodes a picture already in memory; raises "Invalid picture" on failure.
Picture DecodePicture(const std::uint8_t* data, std::size_t size);

}  // namespace mofu
