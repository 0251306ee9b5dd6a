#include "platform/gtk/font_substitutes.hpp"

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

namespace mofu::gtk {
namespace {

TEST(FontSubstitutes, OnlyAMissingDesignedFontGetsItsStandIn) {
  auto installed = [](std::string_view) { return true; };
  auto missing = [](std::string_view) { return false; };
  EXPECT_EQ(SubstituteFamily("ＭＳ Ｐゴシック", installed), "ＭＳ Ｐゴシック");
  EXPECT_EQ(SubstituteFamily("ＭＳ Ｐゴシック", missing), "IPAPGothic");
  EXPECT_EQ(SubstituteFamily("MS PGothic", missing), "MS PGothic");  // only the exact name
  // A name Pango would otherwise read as family plus weight stays whole.
  PangoFontDescription* odd = DescribeFont({"Nowhere Light", 9, true, false});
  EXPECT_STREQ(pango_font_description_get_family(odd), "Nowhere Light");
  pango_font_description_free(odd);
}

// The captions are Japanese: the font the dialog ends up with must have
// their glyphs, or they show as boxes. Its size is in pixels (9 points).
TEST(FontSubstitutes, DialogFontWritesTheJapaneseCaptionsAtAPixelSize) {
  PangoFontMap* map = pango_cairo_font_map_get_default();
  PangoContext* context = pango_font_map_create_context(map);
  PangoFontDescription* description = DescribeFont(DialogFont());
  EXPECT_EQ(pango_font_description_get_size(description), 12 * PANGO_SCALE);
  PangoFont* font = pango_font_map_load_font(map, context, description);
  ASSERT_NE(font, nullptr);
  for (gunichar c : std::u32string_view(U"設定星の粒量描画スピード多い標準少ない↑↓"))
    EXPECT_TRUE(pango_font_has_char(font, c)) << "U+" << std::hex << c;
  g_object_unref(font);
  pango_font_description_free(description);
  g_object_unref(context);
}

}  // namespace
}  // namespace mofu::gtk
