#include "runtime/canvas.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace mofu {
namespace {

// The definition of a dot: a pixel is painted when
// (2*(i-x) + shift)^2 + (2*(j-y) + shift)^2 <= width^2, with shift 1 for
// even widths; a width of 1 or less paints the centre alone.
bool Inside(int i, int j, int x, int y, int width) {
  if (width <= 1) return i == x && j == y;
  const long long shift = width % 2 ? 0 : 1;
  const long long dx = 2LL * (i - x) + shift;
  const long long dy = 2LL * (j - y) + shift;
  return dx * dx + dy * dy <= static_cast<long long>(width) * width;
}

// Every dot, pixel for pixel, against the definition: small and settings'
// widths one by one, hand-edited ones far beyond the sky or below one,
// centres on odd and even columns and cut by each edge. A dot reports every
// pixel it changed, and drawn again asks for nothing to be shown.
TEST(Canvas, DotsPaintExactlyTheirDefinitionAndReportWhatTheyChanged) {
  std::vector<int> widths = {-3, 0, 150, 151, 1000, 32767};
  for (int width = 1; width <= 130; width += width < 12 ? 1 : 7) widths.push_back(width);
  const int places[][2] = {{18, 11}, {17, 12}, {0, 0},     {36, 22},   {2, 21},
                           {-3, 20}, {40, 20}, {-5000, 9}, {9, 20000}, {50, -30}};
  for (const int width : widths) {
    for (const auto& place : places) {
      SCOPED_TRACE(testing::Message()
                   << "width " << width << " at " << place[0] << "," << place[1]);
      Canvas canvas(37, 23);  // odd, so rows start on either half of a byte
      canvas.Fill(3);
      const Rect touched = canvas.Dot(place[0], place[1], width, 12);
      int wrong = 0;
      Rect box;
      for (int j = 0; j < 23; ++j) {
        for (int i = 0; i < 37; ++i) {
          const bool in = Inside(i, j, place[0], place[1], width);
          wrong += canvas.At(i, j) != (in ? 12 : 3);
          if (in) box = box.Union({i, j, i + 1, j + 1});
        }
      }
      EXPECT_EQ(wrong, 0);
      EXPECT_EQ(touched.Union(box), touched);
      if (box.Empty()) {
        EXPECT_TRUE(touched.Empty());
      }
      if (width > 1) {
        EXPECT_TRUE(canvas.Dot(place[0], place[1], width, 12).Empty());
      }
    }
  }
}

// A sky-wide eraser over one star reports the star's place, not the sky.
TEST(Canvas, AWideEraserReportsOnlyWhatItChanged) {
  Canvas canvas(37, 23);
  canvas.Dot(5, 7, 1, 9);
  const Rect erased = canvas.Dot(18, 11, 32767, 0);
  EXPECT_TRUE(erased.Contains(5, 7));
  EXPECT_LE((erased.right - erased.left) * (erased.bottom - erased.top), 2);
}

}  // namespace
}  // namespace mofu
