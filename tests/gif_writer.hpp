#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "encoders.h"

namespace mofu::test {

// A one-colour GIF for the tests, made by the art tool's encoder.
inline void WriteTinyGif(const std::string& path, int width, int height, std::uint8_t r,
                         std::uint8_t g, std::uint8_t b) {
  const mofu_art::PixelMap map{
      width, height, {{r, g, b}}, std::vector<std::uint8_t>(std::size_t(width) * height, 0)};
  const mofu_art::Bytes bytes = mofu_art::EncodeGif(map);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace mofu::test
