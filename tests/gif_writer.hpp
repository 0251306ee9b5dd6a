#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace mofu::test {

// Writes a small one-colour GIF for the tests. Every pixel code is followed
// by a clear code, so the LZW stream never grows past three bits.
inline void WriteTinyGif(const std::string& path, int width, int height, std::uint8_t r,
                         std::uint8_t g, std::uint8_t b) {
  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  auto u16 = [&](int v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  u16(width);
  u16(height);
  out.insert(out.end(), {0x80, 0, 0});  // global table of 2 colours
  out.insert(out.end(), {r, g, b, 0, 0, 0});
  out.push_back(0x2C);  // image descriptor
  u16(0);
  u16(0);
  u16(width);
  u16(height);
  out.push_back(0);
  out.push_back(2);  // minimum code size
  std::vector<std::uint8_t> data;
  std::uint32_t bits = 0;
  int nbits = 0;
  auto code = [&](std::uint32_t c) {
    bits |= c << nbits;
    nbits += 3;
    while (nbits >= 8) {
      data.push_back(static_cast<std::uint8_t>(bits & 0xFF));
      bits >>= 8;
      nbits -= 8;
    }
  };
  for (int i = 0; i < width * height; ++i) {
    code(4);  // clear
    code(0);  // colour 0
  }
  code(5);  // end of information
  if (nbits > 0) data.push_back(static_cast<std::uint8_t>(bits & 0xFF));
  for (std::size_t i = 0; i < data.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - i);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<long>(i),
               data.begin() + static_cast<long>(i + n));
  }
  out.push_back(0);
  out.push_back(0x3B);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

}  // namespace mofu::test
