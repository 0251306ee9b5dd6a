#include "platform/gtk/picture_area.hpp"

namespace mofu::gtk {
namespace {

struct Picture {
  GdkPixbuf* pixbuf;
  std::optional<Colour> back;  // none: the dialog's background shows
};

gboolean Draw(GtkWidget*, cairo_t* cr, gpointer data) {
  const auto* picture = static_cast<const Picture*>(data);
  if (picture->back) {
    const Colour back = *picture->back;
    cairo_set_source_rgb(cr, (back & 0xFF) / 255.0, (back >> 8 & 0xFF) / 255.0,
                         (back >> 16 & 0xFF) / 255.0);
    cairo_paint(cr);
  }
  if (picture->pixbuf) {
    gdk_cairo_set_source_pixbuf(cr, picture->pixbuf, 0, 0);
    cairo_paint(cr);
  }
  return FALSE;
}

void Free(gpointer data, GClosure*) {
  auto* picture = static_cast<Picture*>(data);
  if (picture->pixbuf) g_object_unref(picture->pixbuf);
  delete picture;
}

}  // namespace

GtkWidget* NewPictureArea(GdkPixbuf* pixbuf, std::optional<Colour> back_colour) {
  GtkWidget* area = gtk_drawing_area_new();
  // A tab stop of its own, as in the designer, though it shows no mark of
  // having the focus.
  gtk_widget_set_can_focus(area, TRUE);
  auto* picture = new Picture{pixbuf ? GDK_PIXBUF(g_object_ref(pixbuf)) : nullptr, back_colour};
  g_signal_connect_data(area, "draw", G_CALLBACK(Draw), picture, Free, GConnectFlags{});
  return area;
}

}  // namespace mofu::gtk
