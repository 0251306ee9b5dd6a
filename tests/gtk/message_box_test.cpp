#include "platform/gtk/message_box.hpp"

#include <gtest/gtest.h>

#include <string>

namespace mofu::gtk {
namespace {

// The icon comes from the style whatever the buttons; Windows line breaks
// become line feeds, lone carriage returns too.
TEST(MessageBox, IconAndLineBreaks) {
  const std::pair<int, GtkMessageType> styles[] = {
      {16, GTK_MESSAGE_ERROR}, {32, GTK_MESSAGE_QUESTION},    {64 + 4, GTK_MESSAGE_INFO},
      {0, GTK_MESSAGE_OTHER},  {48 + 1, GTK_MESSAGE_WARNING},
  };
  for (auto [style, type] : styles) EXPECT_EQ(MessageTypeFor(style), type) << style;
  EXPECT_EQ(WithLineFeeds("a\r\nb\rc\n\r\n"), "a\nb\nc\n\n");
}

struct SeenBox {
  std::string title;
  std::string text;
  GtkMessageType type = GTK_MESSAGE_OTHER;
  bool had_ok = false;
};

// Reads the open box as the user would see it, then presses its OK.
gboolean ReadAndPressOk(gpointer data) {
  auto* seen = static_cast<SeenBox*>(data);
  GList* toplevels = gtk_window_list_toplevels();
  for (GList* item = toplevels; item != nullptr; item = item->next) {
    if (!GTK_IS_MESSAGE_DIALOG(item->data) || !gtk_widget_get_visible(GTK_WIDGET(item->data))) {
      continue;
    }
    GtkMessageDialog* box = GTK_MESSAGE_DIALOG(item->data);
    seen->title = gtk_window_get_title(GTK_WINDOW(box));
    gchar* text = nullptr;
    g_object_get(box, "text", &text, "message-type", &seen->type, nullptr);
    seen->text = text ? text : "";
    g_free(text);
    GtkWidget* ok = gtk_dialog_get_widget_for_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
    seen->had_ok = ok != nullptr;
    if (ok) gtk_button_clicked(GTK_BUTTON(ok));
  }
  g_list_free(toplevels);
  return G_SOURCE_REMOVE;
}

TEST(MessageBox, ShowsTitlePromptAndIconAndAnswersOk) {
  SeenBox seen;
  g_timeout_add(50, ReadAndPressOk, &seen);
  EXPECT_EQ(ShowMessageBox("保存できません\r\n二行目", 48, "Mofu Saver"), 1);
  EXPECT_EQ(seen.title, "Mofu Saver");
  EXPECT_EQ(seen.text, "保存できません\n二行目");
  EXPECT_EQ(seen.type, GTK_MESSAGE_WARNING);
  EXPECT_TRUE(seen.had_ok);
}

}  // namespace
}  // namespace mofu::gtk
