#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "art_rules.h"
#include "encoders.h"
#include "enlarge.h"
#include "message.h"
#include "pixel_map_parser.h"

namespace mofu_art {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kCream{0xf0, 0xe0, 0xc0};
constexpr Rgb kPink{0xf4, 0xa0, 0xb0};

// A w x h picture, black but for a cream top-left pixel and a pink bottom-right
// one, so flipped or mirrored output cannot pass for the original.
PixelMap Picture(int width, int height) {
  PixelMap map{width, height, {kBlack, kCream, kPink}, {}};
  map.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  map.pixels.front() = 1;
  map.pixels.back() = 2;
  return map;
}

std::string Source(int width, int height) {
  std::string text = ". = 000000\n";
  for (int y = 0; y < height; ++y) text += std::string(static_cast<std::size_t>(width), '.') + "\n";
  return text;
}

using Check = void (*)(const PixelMap&);
void ParseOnly(const PixelMap&) {}

// Whether the tool said what it should: the complaint holds `wanted`, or
// there is none when `wanted` is empty.
void ExpectComplaint(auto&& make, const char* wanted) {
  std::string complaint;
  try {
    make();
  } catch (const ArtError& e) {
    complaint = e.what();
  }
  EXPECT_TRUE(*wanted ? complaint.find(wanted) != std::string::npos : complaint.empty())
      << "got: '" << complaint << "', wanted: '" << wanted << "'";
}

struct Rejection {
  const char* name;
  std::string source;
  Check check;
  const char* message;  // empty when the source must be accepted
};

TEST(MofuArt, SourcesAreAcceptedOrRejectedWithTheirReason) {
  const std::string palette = ". = 000000\nw = f0f0f0\n";
  const Rejection cases[] = {
      {"ragged row", palette + "..w\n.w\n..w\n", ParseOnly,
       "line 4: row is 2 pixels wide, but the first row (line 3) is 3"},
      {"unknown colour character", palette + "..w\n.xw\n", ParseOnly,
       "line 4, column 2: 'x' is not in the palette"},
      {"duplicate palette character", palette + ". = 111111\n..\n", ParseOnly,
       "line 3: '.' is defined twice in the palette (first on line 1)"},
      {"short colour", "w = f0f0f\nw\n", ParseOnly,
       "line 1: colour for 'w' must be six hex digits"},
      {"palette line after the picture", palette + "..\nx = 123456\n", ParseOnly,
       "line 4: palette lines must come before the picture"},
      {"blank line inside the picture", palette + "..\n\n..\n", ParseOnly,
       "line 4: blank line inside the picture"},
      {"empty file", "", ParseOnly, "no palette"},
      {"cat one row too short", Source(40, 31), CheckCatPose, "31 pixels tall"},
      {"cat one column too wide", Source(65, 40), CheckCatPose, "65 pixels wide"},
      {"largest cat", Source(64, 48), CheckCatPose, ""},
      {"icon a row short", Source(32, 31), CheckIcon, "the icon is 32x31"},
      {"icon", Source(32, 32), CheckIcon, ""},
  };
  for (const Rejection& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectComplaint([&] { c.check(ParsePixelMap(c.source)); }, c.message);
  }
}

TEST(MofuArt, ParsesWhatEditorsReallySave) {
  // Comments, Windows line ends, '#' before a colour, upper case, trailing
  // blanks after rows and lines: all things an editor or a person leaves behind.
  const PixelMap map = ParsePixelMap(
      "# a two by three test\r\n"
      "\r\n"
      ". = 000000\r\n"
      "c = #F0E0C0  # cream\r\n"
      "p=f4a0b0\r\n"
      "\r\n"
      "c.  \r\n"
      "..\r\n"
      ".p\r\n"
      "\r\n");
  EXPECT_EQ(map, Picture(2, 3));
}

struct Pose {
  const char* name;
  PixelMap second;
  const char* message;
};

TEST(MofuArt, WalkCycleNeedsTwoDifferentPosesOfOneSize) {
  const PixelMap first = Picture(40, 32);
  PixelMap same_colours_other_order = first;
  same_colours_other_order.palette = {kCream, kBlack, kPink};
  for (auto& index : same_colours_other_order.pixels) index = index == 0 ? 1 : index == 1 ? 0 : 2;
  PixelMap one_pixel_moved = first;
  one_pixel_moved.pixels[1] = 2;

  const Pose cases[] = {
      {"taller", Picture(40, 33), "differ in size: 40x32 and 40x33"},
      {"identical under another palette order", same_colours_other_order, "identical"},
      {"one pixel different", one_pixel_moved, ""},
  };
  for (const Pose& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectComplaint([&] { CheckWalkCycle(first, c.second); }, c.message);
  }
}

struct Decoded {
  int width = 0;
  int height = 0;
  std::unique_ptr<std::uint8_t, void (*)(void*)> rgb{nullptr, stbi_image_free};

  Rgb At(int x, int y) const {
    const std::uint8_t* p = rgb.get() + (static_cast<std::size_t>(y) * width + x) * 3;
    return {p[0], p[1], p[2]};
  }
};

Decoded Decode(const Bytes& bytes) {
  Decoded d;
  int channels = 0;
  d.rgb.reset(stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &d.width,
                                    &d.height, &channels, 3));
  return d;
}

TEST(MofuArt, EncodedPicturesDecodeToTheSourceColours) {
  // Three colours force the GIF table to be padded, a single colour is below
  // the smallest table GIF allows, and an odd width catches stride mistakes.
  const PixelMap single_colour{2, 2, {kCream}, {0, 0, 0, 0}};
  const struct {
    const char* name;
    Bytes (*encode)(const PixelMap&);
  } encoders[] = {{"gif", EncodeGif}, {"png", EncodePng}};
  for (const PixelMap& map : {Picture(5, 3), single_colour}) {
    for (const auto& encoder : encoders) {
      SCOPED_TRACE(Message(encoder.name, " of ", map.width, "x", map.height));
      const Bytes bytes = encoder.encode(map);
      const Decoded d = Decode(bytes);
      ASSERT_NE(d.rgb, nullptr) << stbi_failure_reason();
      ASSERT_EQ(d.width, map.width);
      ASSERT_EQ(d.height, map.height);
      for (int y = 0; y < map.height; ++y) {
        for (int x = 0; x < map.width; ++x) {
          EXPECT_EQ(d.At(x, y), map.ColourAt(x, y)) << x << "," << y;
        }
      }
      EXPECT_EQ(encoder.encode(map), bytes) << "output must be reproducible";
    }
  }
}

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(MofuArt, IconIsABottomUpDibWithItsPaletteInBgrOrder) {
  const Bytes ico = EncodeIco(Picture(32, 32));
  ASSERT_EQ(ico.size(), 6u + 16 + 40 + 256 * 4 + 32 * 32 + 4 * 32);
  EXPECT_EQ(U32(ico, 0), 0x00010000u) << "reserved 0, type 1 (icon)";
  EXPECT_EQ(U32(ico, 14), ico.size() - 22) << "image size in the directory";
  EXPECT_EQ(U32(ico, 18), 22u) << "image offset in the directory";
  EXPECT_EQ(U32(ico, 22 + 8), 64u) << "DIB height counts the mask too";

  const std::size_t table = 22 + 40;
  const std::size_t rows = table + 256 * 4;
  EXPECT_EQ(U32(ico, table + 4 * 1), 0x00f0e0c0u) << "cream stored as B, G, R, 0";
  EXPECT_EQ(ico[rows + 31], 2) << "the first stored row must be the bottom one";
  EXPECT_EQ(ico[rows + 31 * 32], 1) << "the last stored row must be the top one";
}

TEST(MofuArt, EnlargedIconsAreBlocksOfTheSourcePixels) {
  const PixelMap source = Picture(5, 3);
  for (const int factor : {1, 3}) {
    SCOPED_TRACE(factor);
    const PixelMap large = Enlarge(source, factor);
    ASSERT_EQ(large.width, 5 * factor);
    ASSERT_EQ(large.height, 3 * factor);
    ASSERT_EQ(large.pixels.size(), static_cast<std::size_t>(15 * factor * factor));
    EXPECT_EQ(large.palette, source.palette);
    for (int y = 0; y < large.height; ++y) {
      for (int x = 0; x < large.width; ++x) {
        ASSERT_EQ(large.IndexAt(x, y), source.IndexAt(x / factor, y / factor)) << x << "," << y;
      }
    }
  }
  EXPECT_THROW(Enlarge(source, 0), ArtError);
}

}  // namespace
}  // namespace mofu_art
