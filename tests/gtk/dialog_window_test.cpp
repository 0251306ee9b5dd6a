#include "platform/gtk/dialog_window.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/gtk/signal_guard.hpp"
#include "runtime/runtime_error.hpp"
#include "settings/form2.hpp"

namespace mofu::gtk {
namespace {

// Records what reaches the form; can be told to end the program the way the
// form's unload does.
class RecordingInput : public DialogInput {
 public:
  void Clicked(const ControlId& control) override {
    clicked.push_back(control);
    if (ends_program) throw ProcessEnd{};
  }
  void CloseRequested() override { ++close_requests; }

  std::vector<ControlId> clicked;
  int close_requests = 0;
  bool ends_program = false;
};

// Lets GTK map, size and draw whatever is pending.
void Settle() {
  for (int round = 0; round < 20; ++round) {
    while (gtk_events_pending()) gtk_main_iteration();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

class DialogWindowTest : public testing::Test {
 public:
  GtkWidget* Widget(const char* name, int index = -1) { return dialog->Control({name, index}); }

 protected:
  void SetUp() override { dialog = std::make_unique<DialogWindow>(design, input, MOFU_ICON_PNG); }

  FormDesign design = Form2Design();
  RecordingInput input;
  std::unique_ptr<DialogWindow> dialog;
};

TEST_F(DialogWindowTest, EveryControlSitsAtItsDesignedPlaceWithinItsContainer) {
  dialog->Show();
  Settle();
  GtkWidget* form = gtk_bin_get_child(GTK_BIN(dialog->Window()));
  EXPECT_EQ(gtk_widget_get_allocated_width(form), 275);
  EXPECT_EQ(gtk_widget_get_allocated_height(form), 166);

  for (const ControlDesign& c : design.controls) {
    GtkWidget* widget = Widget(c.name.c_str(), c.index);
    GtkWidget* container = c.container.empty() ? form : Widget(c.container.c_str());
    int x = -1, y = -1;
    ASSERT_TRUE(gtk_widget_translate_coordinates(widget, container, 0, 0, &x, &y)) << c.name;
    EXPECT_EQ(x, c.left / 15) << c.name << "(" << c.index << ")";
    EXPECT_EQ(y, c.top / 15) << c.name << "(" << c.index << ")";
    // Boxes that draw their own outline keep the designed size exactly;
    // text may need more room than designed, but never less.
    const int width = gtk_widget_get_allocated_width(widget);
    const int height = gtk_widget_get_allocated_height(widget);
    if (c.kind == ControlKind::kLabel || c.kind == ControlKind::kOptionButton) {
      EXPECT_GE(width, c.width / 15) << c.name << "(" << c.index << ")";
      EXPECT_GE(height, c.height / 15) << c.name << "(" << c.index << ")";
    } else {
      EXPECT_EQ(width, c.width / 15) << c.name;
      EXPECT_EQ(height, c.height / 15) << c.name;
    }
  }
}

TEST_F(DialogWindowTest, SelectingAButtonClearsOnlyItsOwnFrame) {
  const ControlId density[] = {{"Option1", 0}, {"Option1", 2}, {"Option1", 4}};
  const ControlId speed[] = {{"Option2"}, {"Option4"}, {"Option6"}};
  dialog->SelectOption({"Option1", 4});
  dialog->SelectOption({"Option2"});
  for (const ControlId& id : density) EXPECT_EQ(dialog->OptionValue(id), id.index == 4);
  for (const ControlId& id : speed) EXPECT_EQ(dialog->OptionValue(id), id.name == "Option2");
}

TEST_F(DialogWindowTest, OkHoldsTheFocusAndTabFollowsTheDesignedOrder) {
  dialog->Show();
  Settle();
  GtkWindow* window = dialog->Window();
  EXPECT_EQ(gtk_window_get_focus(window), Widget("Command1"));
  EXPECT_EQ(gtk_window_get_default_widget(window), nullptr);

  // Tab stops at the selected button of each group only, and at the picture
  // box between the two groups.
  dialog->SelectOption({"Option5"});
  GtkWidget* expected[] = {Widget("Command2"), Widget("Option1", 2), Widget("Picture1"),
                           Widget("Option5"), Widget("Command1")};
  for (GtkWidget* next : expected) {
    g_signal_emit_by_name(window, "move-focus", GTK_DIR_TAB_FORWARD);
    EXPECT_EQ(gtk_window_get_focus(window), next)
        << G_OBJECT_TYPE_NAME(gtk_window_get_focus(window));
  }
}

TEST_F(DialogWindowTest, ButtonsReportClicksAndTheCloseBoxAsksTheForm) {
  dialog->Show();
  Settle();
  gtk_button_clicked(GTK_BUTTON(Widget("Command2")));
  gtk_button_clicked(GTK_BUTTON(Widget("Command1")));
  gtk_window_close(dialog->Window());
  Settle();
  EXPECT_EQ(input.clicked, (std::vector<ControlId>{{"Command2"}, {"Command1"}}));
  EXPECT_EQ(input.close_requests, 1);
  // The form decides what closing means; the window stays until told.
  EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(dialog->Window())));
}

// Keys the way a user types them: to the focused widget, through GTK.
void Press(GtkWidget* window, guint key) {
  GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
  event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
  event->key.keyval = key;
  event->key.send_event = TRUE;
  // Key bindings are looked up by hardware key code.
  GdkKeymapKey* keys = nullptr;
  gint count = 0;
  if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()), key,
                                        &keys, &count)) {
    event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
    event->key.group = static_cast<guint8>(keys[0].group);
    g_free(keys);
  }
  GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
  gdk_event_set_device(event, gdk_seat_get_keyboard(seat));
  gtk_main_do_event(event);
  event->type = GDK_KEY_RELEASE;
  gtk_main_do_event(event);
  gdk_event_free(event);
}

TEST_F(DialogWindowTest, KeysPressOnlyTheFocusedButton) {
  struct Case {
    const char* focus;
    int index;
    guint key;
    std::vector<ControlId> clicked;
  };
  const Case cases[] = {
      {"Command2", -1, GDK_KEY_space, {{"Command2"}}},
      // No default and no cancel button: these press nothing.
      {"Option1", 2, GDK_KEY_Return, {}},
      {"Command1", -1, GDK_KEY_Escape, {}},
  };
  dialog->Show();
  Settle();
  for (const Case& c : cases) {
    input.clicked.clear();
    gtk_widget_grab_focus(Widget(c.focus, c.index));
    Press(GTK_WIDGET(dialog->Window()), c.key);
    Settle();
    EXPECT_EQ(input.clicked, c.clicked) << c.focus << " key " << c.key;
    EXPECT_EQ(input.close_requests, 0);
  }
}

TEST_F(DialogWindowTest, EndingTheProgramStopsTheLoopAndComesOutOfIt) {
  input.ends_program = true;
  dialog->Show();
  g_idle_add(
      [](gpointer data) {
        auto* self = static_cast<DialogWindowTest*>(data);
        gtk_button_clicked(GTK_BUTTON(self->Widget("Command1")));
        // The program has ended: later input reaches no handler.
        gtk_button_clicked(GTK_BUTTON(self->Widget("Command2")));
        return G_SOURCE_REMOVE;
      },
      this);
  EXPECT_THROW(RunEventLoop(), ProcessEnd);
  EXPECT_EQ(input.clicked, (std::vector<ControlId>{{"Command1"}}));
  EXPECT_FALSE(HasPending());
}

TEST(DialogWindow, BuildsWithoutItsIcon) {
  RecordingInput input;
  DialogWindow dialog(Form2Design(), input, "/nonexistent/mofu.png");
  dialog.Show();
  Settle();
  EXPECT_EQ(gtk_window_get_icon(dialog.Window()), nullptr);
}

TEST(SignalGuard, KeepsRuntimeErrorsWithTheirNumber) {
  CallFromSignal([] { throw RuntimeError(ErrorNumber::kSettingsWrite, "cannot write"); });
  EXPECT_TRUE(HasPending());
  try {
    RethrowPending();
    FAIL() << "nothing rethrown";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber::kSettingsWrite);
  }
  EXPECT_NO_THROW(RethrowPending());
}

}  // namespace
}  // namespace mofu::gtk
