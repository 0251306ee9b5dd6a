#include "platform/gtk/font_substitutes.hpp"

#include <pango/pangocairo.h>

#include <array>
#include <cmath>
#include <set>

namespace mofu::gtk {
namespace {

struct Substitute {
  std::string_view family;
  std::string_view stand_in;  // a family, and style words Pango understands
};

// IPA P Gothic was drawn to the metrics of MS P Gothic. Nothing free matches
// Impact; a narrow bold sans keeps its dark look and, near enough, its width,
// so the designed captions still fit. DejaVu is wider but always there.
constexpr std::array<Substitute, 2> kSubstitutes = {{
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"Impact", "Liberation Sans Narrow,DejaVu Sans Condensed Bold"},
}};

bool FontMapHas(std::string_view family) {
  static const std::set<std::string, std::less<>> families = [] {
    std::set<std::string, std::less<>> names;
    PangoFontFamily** list = nullptr;
    int count = 0;
    pango_font_map_list_families(pango_cairo_font_map_get_default(), &list, &count);
    for (int i = 0; i < count; ++i) names.emplace(pango_font_family_get_name(list[i]));
    g_free(list);
    return names;
  }();
  return families.contains(family);
}

}  // namespace

std::string SubstituteFamily(std::string_view family,
                             const std::function<bool(std::string_view)>& installed) {
  if (installed(family)) return std::string(family);
  for (const Substitute& s : kSubstitutes) {
    if (s.family == family) return std::string(s.stand_in);
  }
  return std::string(family);  // fontconfig picks its own nearest match
}

std::string InstalledOrSubstitute(std::string_view family) {
  return SubstituteFamily(family, FontMapHas);
}

int PointsToPixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

PangoFontDescription* DescribeFont(const FontDesign& font) {
  const std::string name = InstalledOrSubstitute(font.name);
  PangoFontDescription* description = nullptr;
  if (name == font.name) {
    // An installed name is a family as it stands, style-like words and all.
    description = pango_font_description_new();
    pango_font_description_set_family(description, name.c_str());
  } else {
    description = pango_font_description_from_string(name.c_str());
  }
  if (font.bold) pango_font_description_set_weight(description, PANGO_WEIGHT_BOLD);
  pango_font_description_set_absolute_size(description, PointsToPixels(font.points) * PANGO_SCALE);
  return description;
}

FontDesign DialogFont() { return {"ＭＳ Ｐゴシック", 9, false, false}; }

}  // namespace mofu::gtk
