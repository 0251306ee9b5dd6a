#pragma once

#include <gtk/gtk.h>

#include <optional>

#include "runtime/form_design.hpp"

namespace mofu::gtk {

// Gives a label its designed colour and font. Pango attributes rather than
// CSS, so the theme in use cannot override what the designer chose.
void StyleText(GtkLabel* label, const std::optional<Colour>& fore,
               const std::optional<FontDesign>& font);

}  // namespace mofu::gtk
