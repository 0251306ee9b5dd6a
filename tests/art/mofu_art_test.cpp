#include <gtest/gtest.h>

#include <string>

#include "art_rules.h"
#include "pixel_map_parser.h"

// The encoders are proven by art_matches_sources: the committed pictures
// made again from their sources, byte for byte. What is left here is what
// the tool refuses, and why.
namespace mofu_art {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kCream{0xf0, 0xe0, 0xc0};
constexpr Rgb kPink{0xf4, 0xa0, 0xb0};

// A w x h picture, black but for a cream top-left pixel and a pink
// bottom-right one.
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

// The complaint holds `wanted`, or there is none when `wanted` is empty.
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

void ParseOnly(const PixelMap&) {}

TEST(MofuArt, SourcesAreAcceptedOrRejectedWithTheirReason) {
  const std::string palette = ". = 000000\nw = f0f0f0\n";
  const struct {
    std::string source;
    void (*check)(const PixelMap&);
    const char* message;  // empty when the source must be accepted
  } cases[] = {
      {palette + "..w\n.w\n..w\n", ParseOnly,
       "line 4: row is 2 pixels wide, but the first row (line 3) is 3"},
      {palette + "..w\n.xw\n", ParseOnly, "line 4, column 2: 'x' is not in the palette"},
      {palette + ". = 111111\n..\n", ParseOnly, "'.' is defined twice in the palette"},
      {palette + "..\n\n..\n", ParseOnly, "line 4: blank line inside the picture"},
      {Source(65, 40), CheckCatPose, "65 pixels wide"},
      {Source(64, 48), CheckCatPose, ""},
      {Source(32, 31), CheckIcon, "the icon is 32x31"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source.substr(0, 40));
    ExpectComplaint([&] { c.check(ParsePixelMap(c.source)); }, c.message);
  }
}

TEST(MofuArt, ParsesWhatEditorsReallySave) {
  // Comments, Windows line ends, '#' before a colour, upper case, trailing
  // blanks: all things an editor or a person leaves behind.
  EXPECT_EQ(ParsePixelMap("# a two by three test\r\n\r\n. = 000000\r\nc = #F0E0C0  # cream\r\n"
                          "p=f4a0b0\r\n\r\nc.  \r\n..\r\n.p\r\n\r\n"),
            Picture(2, 3));
}

TEST(MofuArt, WalkCycleNeedsTwoDifferentPosesOfOneSize) {
  const PixelMap first = Picture(40, 32);
  PixelMap recoloured = first;  // the same picture under another palette order
  recoloured.palette = {kCream, kBlack, kPink};
  for (auto& index : recoloured.pixels) index = index == 0 ? 1 : index == 1 ? 0 : 2;
  PixelMap moved = first;
  moved.pixels[1] = 2;
  ExpectComplaint([&] { CheckWalkCycle(first, Picture(40, 33)); },
                  "differ in size: 40x32 and 40x33");
  ExpectComplaint([&] { CheckWalkCycle(first, recoloured); }, "identical");
  ExpectComplaint([&] { CheckWalkCycle(first, moved); }, "");
}

}  // namespace
}  // namespace mofu_art
