#include "platform/gtk/dialog_window.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/gtk/signal_guard.hpp"
#include "runtime/runtime_error.hpp"
#include "settings/form2.hpp"

namespace mofu::gtk {
namespace {

// Records what reaches the form; ends the program on OK, as the form does.
class RecordingInput : public DialogInput {
 public:
  void Clicked(const ControlId& control) override {
    clicked.push_back(control);
    if (control.name == "Command1") throw ProcessEnd{};
  }
  void CloseRequested() override { ++close_requests; }

  std::vector<ControlId> clicked;
  int close_requests = 0;
};

// Lets GTK map, size and draw whatever is pending.
void Settle() {
  for (int round = 0; round < 20; ++round) {
    while (gtk_events_pending()) gtk_main_iteration();
    g_usleep(5000);
  }
}

class DialogWindowTest : public testing::Test {
 public:
  GtkWidget* Widget(const char* name, int index = -1) { return dialog.Control({name, index}); }

  void SetUp() override {
    dialog.Show();
    Settle();
  }

  FormDesign design = Form2Design();
  RecordingInput input;
  DialogWindow dialog{design, input, MOFU_ICON_PNG};
};

TEST_F(DialogWindowTest, EveryControlSitsAtItsDesignedPlaceWithinItsContainer) {
  GtkWidget* form = gtk_bin_get_child(GTK_BIN(dialog.Window()));
  EXPECT_EQ(gtk_widget_get_allocated_width(form), 275);
  EXPECT_EQ(gtk_widget_get_allocated_height(form), 166);
  for (const ControlDesign& c : design.controls) {
    GtkWidget* widget = Widget(c.name.c_str(), c.index);
    GtkWidget* container = c.container.empty() ? form : Widget(c.container.c_str());
    int x = -1, y = -1, width = gtk_widget_get_allocated_width(widget);
    ASSERT_TRUE(gtk_widget_translate_coordinates(widget, container, 0, 0, &x, &y)) << c.name;
    EXPECT_EQ(x, c.left / 15) << c.name << "(" << c.index << ")";
    EXPECT_EQ(y, c.top / 15) << c.name << "(" << c.index << ")";
    // Text may need more room than designed, never less; boxes keep theirs.
    const bool text = c.kind == ControlKind::kLabel || c.kind == ControlKind::kOptionButton;
    EXPECT_TRUE(text ? width >= c.width / 15 : width == c.width / 15) << c.name << width;
  }
}

// Each frame is a group of its own, and Tab stops at the selected button of
// each group only, and at the picture box between the two.
TEST_F(DialogWindowTest, OkHoldsTheFocusAndTabStopsOncePerGroup) {
  GtkWindow* window = dialog.Window();
  EXPECT_EQ(gtk_window_get_focus(window), Widget("Command1"));
  EXPECT_EQ(gtk_window_get_default_widget(window), nullptr);  // Return presses nothing
  dialog.SelectOption({"Option1", 4});
  dialog.SelectOption({"Option5"});
  EXPECT_FALSE(dialog.OptionValue({"Option1", 2}));
  EXPECT_TRUE(dialog.OptionValue({"Option1", 4}));
  EXPECT_FALSE(dialog.OptionValue({"Option2"}));
  GtkWidget* expected[] = {Widget("Command2"), Widget("Option1", 4), Widget("Picture1"),
                           Widget("Option5"), Widget("Command1")};
  for (GtkWidget* next : expected) {
    g_signal_emit_by_name(window, "move-focus", GTK_DIR_TAB_FORWARD);
    EXPECT_EQ(gtk_window_get_focus(window), next)
        << G_OBJECT_TYPE_NAME(gtk_window_get_focus(window));
  }
}

// The close box only asks the form; the program's end comes out of the loop
// and later input reaches no handler.
TEST_F(DialogWindowTest, ClicksAndTheCloseBoxReachTheFormUntilTheProgramEnds) {
  gtk_window_close(dialog.Window());
  Settle();
  g_idle_add(
      [](gpointer data) {
        auto* self = static_cast<DialogWindowTest*>(data);
        gtk_button_clicked(GTK_BUTTON(self->Widget("Command2")));
        gtk_button_clicked(GTK_BUTTON(self->Widget("Command1")));
        gtk_button_clicked(GTK_BUTTON(self->Widget("Command2")));
        return G_SOURCE_REMOVE;
      },
      this);
  EXPECT_THROW(RunEventLoop(), ProcessEnd);
  EXPECT_EQ(input.clicked, (std::vector<ControlId>{{"Command2"}, {"Command1"}}));
  EXPECT_EQ(input.close_requests, 1);
  EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(dialog.Window())));
  EXPECT_FALSE(HasPending());
}

}  // namespace
}  // namespace mofu::gtk
