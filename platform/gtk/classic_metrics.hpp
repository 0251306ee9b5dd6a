#pragma once

#include <gtk/gtk.h>

namespace mofu::gtk {

// Trims the theme's generous paddings so a control fits the box its
// designer gave it, and draws frames as the classic etched group box.
void UseClassicMetrics(GtkWidget* widget);

}  // namespace mofu::gtk
