#pragma once

#include <gtk/gtk.h>

#include <optional>

#include "runtime/colour.hpp"

namespace mofu::gtk {

// A picture box: its back colour with the picture at its top-left corner.
// `picture` may be null (nothing loaded); the area takes its own reference.
GtkWidget* NewPictureArea(GdkPixbuf* picture, std::optional<Colour> back_colour);

}  // namespace mofu::gtk
