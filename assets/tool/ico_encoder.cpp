#include <cstdint>

#include "encoders.h"
#include "message.h"

namespace mofu_art {
namespace {

constexpr int kIconDirSize = 6;
constexpr int kIconEntrySize = 16;
constexpr int kInfoHeaderSize = 40;
constexpr int kTableColours = 256;

void PutU8(Bytes& out, std::uint32_t value) { out.push_back(static_cast<std::uint8_t>(value)); }

void PutU16(Bytes& out, std::uint32_t value) {
  PutU8(out, value);
  PutU8(out, value >> 8);
}

void PutU32(Bytes& out, std::uint32_t value) {
  PutU16(out, value);
  PutU16(out, value >> 16);
}

// DIB rows are padded to whole 32-bit words.
constexpr std::uint32_t Stride(std::uint32_t bits_per_row) { return (bits_per_row + 31) / 32 * 4; }

}  // namespace

// One 8-bit palettised DIB: every Windows version reads it, and it keeps the
// exact colours of the source without any alpha handling.
Bytes EncodeIco(const PixelMap& map) {
  if (map.width < 1 || map.width > 256 || map.height < 1 || map.height > 256) {
    throw ArtError(Message("an icon is at most 256x256, not ", map.width, "x", map.height));
  }
  if (map.palette.size() > kTableColours) {
    throw ArtError(
        Message("an 8-bit icon holds at most 256 colours, the palette has ", map.palette.size()));
  }
  const auto width = static_cast<std::uint32_t>(map.width);
  const auto height = static_cast<std::uint32_t>(map.height);
  const std::uint32_t colour_stride = Stride(width * 8);
  const std::uint32_t mask_stride = Stride(width);
  const std::uint32_t pixel_bytes = (colour_stride + mask_stride) * height;
  const std::uint32_t image_bytes = kInfoHeaderSize + kTableColours * 4 + pixel_bytes;

  Bytes out;
  PutU16(out, 0);  // reserved
  PutU16(out, 1);  // resource type: icon
  PutU16(out, 1);  // image count

  PutU8(out, width & 0xff);  // 256 is stored as 0
  PutU8(out, height & 0xff);
  PutU8(out, 0);   // 0 means a 256-entry table
  PutU8(out, 0);   // reserved
  PutU16(out, 1);  // planes
  PutU16(out, 8);  // bits per pixel
  PutU32(out, image_bytes);
  PutU32(out, kIconDirSize + kIconEntrySize);

  PutU32(out, kInfoHeaderSize);
  PutU32(out, width);
  PutU32(out, height * 2);  // an icon DIB counts the colour rows and the mask rows
  PutU16(out, 1);
  PutU16(out, 8);
  PutU32(out, 0);  // uncompressed
  PutU32(out, pixel_bytes);
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, kTableColours);
  PutU32(out, 0);

  for (int i = 0; i < kTableColours; ++i) {
    const Rgb c = i < static_cast<int>(map.palette.size()) ? map.palette[i] : Rgb{};
    out.insert(out.end(), {c.b, c.g, c.r, 0});
  }
  // Bottom row first, as in every DIB.
  for (int y = map.height - 1; y >= 0; --y) {
    for (int x = 0; x < map.width; ++x) out.push_back(map.IndexAt(x, y));
    out.resize(out.size() + (colour_stride - width));
  }
  // An all-clear AND mask: the icon paints its own dark background, fully opaque.
  out.resize(out.size() + mask_stride * height);
  return out;
}

}  // namespace mofu_art
