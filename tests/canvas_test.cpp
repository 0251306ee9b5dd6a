#include "platform/canvas.hpp"

#include <gtest/gtest.h>

namespace mofu {
namespace {

struct Extent {
  int painted = 0;
  Rect box;
};

Extent Measure(const Canvas& c) {
  Extent e;
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) {
      if (c.At(x, y) == 0) continue;
      ++e.painted;
      e.box = e.box.Union({x, y, x + 1, y + 1});
    }
  }
  return e;
}

TEST(Canvas, RoundDotIsExactlyItsDiameterAcross) {
  struct Case {
    int width;
    int painted;  // exact for small dots, else 0: about pi r^2
  };
  // 1..3 are solid squares; from 4 on the corners fall away.
  const Case cases[] = {{0, 1}, {1, 1}, {2, 4}, {3, 9}, {4, 12}, {10, 0}, {40, 0}, {120, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    Canvas canvas(300, 300);
    const Rect touched = canvas.Dot(150, 150, c.width, 9);
    const Extent e = Measure(canvas);
    if (c.painted) {
      EXPECT_EQ(e.painted, c.painted);
    } else {
      const double area = 3.14159265 * c.width * c.width / 4;
      EXPECT_NEAR(e.painted, area, area * 0.08);
    }
    // Round: the dot is its own mirror image both ways.
    for (int j = e.box.top; j < e.box.bottom; ++j) {
      for (int i = e.box.left; i < e.box.right; ++i) {
        EXPECT_EQ(canvas.At(i, j), canvas.At(e.box.left + e.box.right - 1 - i, j));
        EXPECT_EQ(canvas.At(i, j), canvas.At(i, e.box.top + e.box.bottom - 1 - j));
      }
    }
    // The centre pixel is always painted, and what was painted was reported.
    EXPECT_EQ(canvas.At(150, 150), 9);
    EXPECT_EQ(touched.Union(e.box), touched);
  }
}

TEST(Canvas, DotsClipAtTheEdgesAndNeighboursKeepTheirColour) {
  Canvas canvas(5, 3);
  EXPECT_TRUE(canvas.Dot(5, 0, 1, 3).Empty());
  EXPECT_TRUE(canvas.Dot(-1, 0, 1, 3).Empty());
  EXPECT_EQ(canvas.Dot(0, 0, 4, 7), (Rect{0, 0, 2, 2}));
  canvas.Dot(4, 2, 1, 15);
  canvas.Dot(3, 2, 1, 1);
  EXPECT_EQ(canvas.At(4, 2), 15);
  EXPECT_EQ(canvas.At(3, 2), 1);
  EXPECT_EQ(canvas.At(2, 2), 0);
  canvas.Fill(0);
  EXPECT_EQ(Measure(canvas).painted, 0);
}

// Every dot, pixel for pixel, against the definition itself: a pixel is
// painted when (2*(i-x) + shift)^2 + (2*(j-y) + shift)^2 <= width^2, with
// shift 1 for even widths; centres on odd and even columns, and dots cut by
// each edge.
TEST(Canvas, DotsPaintExactlyThePixelsOfTheirDefinition) {
  constexpr int kWidth = 61;
  constexpr int kHeight = 47;
  const int centres[][2] = {{30, 23}, {31, 22}, {0, 0},   {60, 46},
                            {2, 45},  {58, 1},  {-3, 20}, {64, 20}};
  for (int width = 1; width <= 130; width += width < 12 ? 1 : 7) {
    for (const auto& centre : centres) {
      SCOPED_TRACE(testing::Message()
                   << "width " << width << " at " << centre[0] << "," << centre[1]);
      Canvas canvas(kWidth, kHeight);
      canvas.Fill(3);
      canvas.Dot(centre[0], centre[1], width, 12);
      const int shift = width % 2 ? 0 : 1;
      int wrong = 0;
      for (int j = 0; j < kHeight; ++j) {
        for (int i = 0; i < kWidth; ++i) {
          const long long dx = 2LL * (i - centre[0]) + shift;
          const long long dy = 2LL * (j - centre[1]) + shift;
          const bool inside = width <= 1 ? i == centre[0] && j == centre[1]
                                         : dx * dx + dy * dy <= 1LL * width * width;
          if (canvas.At(i, j) != (inside ? 12 : 3)) ++wrong;
        }
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}

// Hand-edited widths, far beyond the sky or below one, paint what the
// definition says too, and a dot reports only the pixels it changed.
TEST(Canvas, WideDotsPaintExactlyTheirDefinition) {
  const auto painted = [](int i, int j, int x, int y, int width) {
    if (width <= 1) return i == x && j == y;
    const long long shift = width % 2 ? 0 : 1;
    const long long dx = 2LL * (i - x) + shift;
    const long long dy = 2LL * (j - y) + shift;
    return dx * dx + dy * dy <= static_cast<long long>(width) * width;
  };
  const int widths[] = {-3, 0, 2, 5, 150, 151, 1000, 32767};
  const int places[][2] = {{0, 0}, {18, 11}, {36, 22}, {-20, 7}, {50, -30}, {-5000, 9}, {9, 20000}};
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
          const bool in = painted(i, j, place[0], place[1], width);
          wrong += canvas.At(i, j) != (in ? 12 : 3);
          if (in) box = box.Union({i, j, i + 1, j + 1});
        }
      }
      EXPECT_EQ(wrong, 0);
      EXPECT_EQ(touched.Union(box), touched);
      // Drawn again it changes nothing, and asks for nothing to be shown.
      if (width > 1) {
        EXPECT_TRUE(canvas.Dot(place[0], place[1], width, 12).Empty());
      }
    }
  }
  // A sky-wide eraser over one star reports the star's place, not the sky.
  Canvas canvas(37, 23);
  canvas.Dot(5, 7, 1, 9);
  const Rect erased = canvas.Dot(18, 11, 32767, 0);
  EXPECT_TRUE(erased.Contains(5, 7));
  EXPECT_LE((erased.right - erased.left) * (erased.bottom - erased.top), 2);
}

}  // namespace
}  // namespace mofu
