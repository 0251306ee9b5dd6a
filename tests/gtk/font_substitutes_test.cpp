#include "platform/gtk/font_substitutes.hpp"

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <string>

namespace mofu::gtk {
namespace {

TEST(FontSubstitutes, InstalledFontsStayAndMissingOnesGetTheirStandIn) {
  struct Case {
    std::string family;
    bool installed;
    std::string expected;
  };
  const Case cases[] = {
      {"ＭＳ Ｐゴシック", true, "ＭＳ Ｐゴシック"},
      {"ＭＳ Ｐゴシック", false, "IPAPGothic"},
      {"Impact", false, "Liberation Sans Narrow,DejaVu Sans Condensed Bold"},
      // Only the exact designed name has a stand-in.
      {"MS PGothic", false, "MS PGothic"},
  };
  for (const Case& c : cases) {
    auto installed = [&](std::string_view family) { return c.installed && family == c.family; };
    EXPECT_EQ(SubstituteFamily(c.family, installed), c.expected)
        << c.family << (c.installed ? " installed" : " missing");
  }
}

TEST(FontSubstitutes, PointsBecomeWholePixelsAt96Dpi) {
  const std::pair<double, int> cases[] = {{8.25, 11}, {7.5, 10}};
  for (auto [points, pixels] : cases) EXPECT_EQ(PointsToPixels(points), pixels) << points;
}

TEST(FontSubstitutes, DescriptionKeepsPixelSizeWeightAndUnusualFamilyNames) {
  PangoFontDescription* impact = DescribeFont({"Impact", 18, false, false});
  EXPECT_EQ(pango_font_description_get_size(impact), 24 * PANGO_SCALE);
  EXPECT_TRUE(pango_font_description_get_size_is_absolute(impact));
  if (InstalledOrSubstitute("Impact") != "Impact") {
    EXPECT_STREQ(pango_font_description_get_family(impact), "Liberation Sans Narrow,DejaVu Sans");
    EXPECT_EQ(pango_font_description_get_weight(impact), PANGO_WEIGHT_BOLD);
    EXPECT_EQ(pango_font_description_get_stretch(impact), PANGO_STRETCH_CONDENSED);
  }
  pango_font_description_free(impact);

  // A name Pango would otherwise read as family plus weight stays whole.
  PangoFontDescription* odd = DescribeFont({"Nowhere Light", 9, true, false});
  EXPECT_STREQ(pango_font_description_get_family(odd), "Nowhere Light");
  EXPECT_EQ(pango_font_description_get_weight(odd), PANGO_WEIGHT_BOLD);
  pango_font_description_free(odd);
}

// The captions are Japanese: the font the dialog ends up with must have
// their glyphs, or they show as boxes.
TEST(FontSubstitutes, DialogFontWritesTheJapaneseCaptions) {
  PangoFontMap* map = pango_cairo_font_map_get_default();
  PangoContext* context = pango_font_map_create_context(map);
  PangoFontDescription* description = DescribeFont(DialogFont());
  PangoFont* font = pango_font_map_load_font(map, context, description);
  ASSERT_NE(font, nullptr);
  for (gunichar c : U"設定星の粒量描画スピード多い標準少ない↑↓") {
    if (c == 0) break;
    EXPECT_TRUE(pango_font_has_char(font, c)) << "U+" << std::hex << c;
  }
  g_object_unref(font);
  pango_font_description_free(description);
  g_object_unref(context);
}

}  // namespace
}  // namespace mofu::gtk
