#include "platform/gtk/text_style.hpp"

#include "platform/gtk/font_substitutes.hpp"

namespace mofu::gtk {
namespace {

// Pango channels are 16 bits wide; 0xFF becomes 0xFFFF.
guint16 Channel(Colour colour, int shift) {
  return static_cast<guint16>(((colour >> shift) & 0xFF) * 0x101);
}

}  // namespace

void StyleText(GtkLabel* label, const std::optional<Colour>& fore,
               const std::optional<FontDesign>& font) {
  if (!fore && !font) return;
  PangoAttrList* attributes = pango_attr_list_new();
  if (fore) {
    pango_attr_list_insert(
        attributes,
        pango_attr_foreground_new(Channel(*fore, 0), Channel(*fore, 8), Channel(*fore, 16)));
  }
  if (font) {
    PangoFontDescription* description = DescribeFont(*font);
    pango_attr_list_insert(attributes, pango_attr_font_desc_new(description));
    pango_font_description_free(description);
    if (font->underline) {
      pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    }
  }
  gtk_label_set_attributes(label, attributes);
  pango_attr_list_unref(attributes);
}

}  // namespace mofu::gtk
