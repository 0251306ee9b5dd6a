#include "platform/gtk/message_box.hpp"

namespace mofu::gtk {
namespace {

constexpr int kIconMask = 0x70;
constexpr int kOkAnswer = 1;

// The box belongs over the program's own window when one is showing.
GtkWindow* VisibleToplevel() {
  GList* toplevels = gtk_window_list_toplevels();
  GtkWindow* found = nullptr;
  for (GList* item = toplevels; item != nullptr && found == nullptr; item = item->next) {
    GtkWidget* window = GTK_WIDGET(item->data);
    if (gtk_widget_get_visible(window)) found = GTK_WINDOW(window);
  }
  g_list_free(toplevels);
  return found;
}

}  // namespace

GtkMessageType MessageTypeFor(int style) {
  switch (style & kIconMask) {
    case 16:
      return GTK_MESSAGE_ERROR;
    case 32:
      return GTK_MESSAGE_QUESTION;
    case 48:
      return GTK_MESSAGE_WARNING;
    case 64:
      return GTK_MESSAGE_INFO;
    default:
      return GTK_MESSAGE_OTHER;
  }
}

std::string WithLineFeeds(std::string_view prompt) {
  std::string text;
  text.reserve(prompt.size());
  for (std::size_t i = 0; i < prompt.size(); ++i) {
    if (prompt[i] == '\r' && i + 1 < prompt.size() && prompt[i + 1] == '\n') continue;
    text += prompt[i] == '\r' ? '\n' : prompt[i];
  }
  return text;
}

int ShowMessageBox(const char* prompt, int style, const char* title) {
  GtkWindow* parent = VisibleToplevel();
  GtkWidget* box =
      gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, MessageTypeFor(style), GTK_BUTTONS_OK, "%s",
                             WithLineFeeds(prompt ? prompt : "").c_str());
  gtk_window_set_title(GTK_WINDOW(box), title ? title : "");
  gtk_window_set_position(GTK_WINDOW(box),
                          parent ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
  gtk_dialog_run(GTK_DIALOG(box));
  gtk_widget_destroy(box);
  return kOkAnswer;
}

}  // namespace mofu::gtk
