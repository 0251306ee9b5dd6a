#include "platform/gtk/classic_metrics.hpp"

namespace mofu::gtk {
namespace {

// GTK sets a frame's caption at the border's left edge; the classic caption
// sits a little way in, so the border reaches out past the frame's padding.
constexpr char kClassicCss[] = R"css(
button { min-height: 0; min-width: 0; padding: 0 4px; }
radiobutton { min-height: 0; padding: 0; }
radiobutton > radio { min-width: 13px; min-height: 13px; margin: 0 4px 0 0; }
frame { padding-left: 6px; }
frame > border { margin-left: -6px; border: 2px groove #a0a0a0; border-radius: 0; }
frame > label { padding: 0 2px; }
)css";

GtkStyleProvider* ClassicProvider() {
  static GtkCssProvider* const provider = [] {
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, kClassicCss, -1, nullptr);
    return css;
  }();
  return GTK_STYLE_PROVIDER(provider);
}

}  // namespace

void UseClassicMetrics(GtkWidget* widget) {
  gtk_style_context_add_provider(gtk_widget_get_style_context(widget), ClassicProvider(),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

}  // namespace mofu::gtk
