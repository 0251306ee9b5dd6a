#include "platform/gtk/dialog_window.hpp"

#include <gdk/gdkx.h>

#include <algorithm>
#include <stdexcept>

#include "platform/gtk/classic_metrics.hpp"
#include "platform/gtk/picture_area.hpp"
#include "platform/gtk/signal_guard.hpp"
#include "platform/gtk/text_style.hpp"

namespace mofu::gtk {
namespace {

int Pixels(int twips) { return (twips + 7) / 15; }

GdkPixbuf* LoadPicture(const char* path) {
  if (path == nullptr) return nullptr;
  // A missing icon leaves the frame and the picture box empty; it is no
  // reason to refuse the dialog.
  return gdk_pixbuf_new_from_file(path, nullptr);
}

void StyleCaption(GtkWidget* button, const ControlDesign& control) {
  GtkWidget* child = gtk_bin_get_child(GTK_BIN(button));
  if (GTK_IS_LABEL(child)) StyleText(GTK_LABEL(child), control.fore_colour, control.font);
}

GtkWidget* NewLabel(const ControlDesign& control) {
  GtkWidget* label = gtk_label_new(control.caption.c_str());
  gtk_label_set_xalign(GTK_LABEL(label), 0);
  gtk_label_set_yalign(GTK_LABEL(label), 0);
  gtk_label_set_line_wrap(GTK_LABEL(label), FALSE);
  StyleText(GTK_LABEL(label), control.fore_colour, control.font);
  return label;
}

GtkWidget* NewOptionButton(const ControlDesign& control, GtkWidget* group) {
  GtkRadioButton* member = group ? GTK_RADIO_BUTTON(group) : nullptr;
  if (control.caption.empty()) return gtk_radio_button_new_from_widget(member);
  GtkWidget* button = gtk_radio_button_new_with_label_from_widget(member, control.caption.c_str());
  StyleCaption(button, control);
  return button;
}

// Without a chain GTK tabs through a container in reading order (top to
// bottom); the form's order is its designer's tab order.
void SetTabOrder(GtkWidget* container, const std::vector<GtkWidget*>& order) {
  GList* chain = nullptr;
  for (GtkWidget* widget : order) chain = g_list_append(chain, widget);
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_container_set_focus_chain(GTK_CONTAINER(container), chain);
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_list_free(chain);
}

// A fixed-size dialog frame: move and close, nothing to resize or maximise.
// These are X11 window-manager hints; on Wayland the compositor draws the
// frame from the window's fixed size, and there is nothing to ask.
void OfferOnlyClose(GtkWidget* window, gpointer) {
  GdkWindow* frame = gtk_widget_get_window(window);
  if (!GDK_IS_X11_WINDOW(frame)) return;
  gdk_window_set_functions(frame, GdkWMFunction(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
  gdk_window_set_decorations(frame,
                             GdkWMDecoration(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU));
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  auto* input = static_cast<DialogInput*>(data);
  CallFromSignal([input] { input->CloseRequested(); });
  return TRUE;  // the form decides; its unload ends the process
}

void OnClicked(GtkButton*, gpointer data) {
  auto* target = static_cast<std::pair<DialogInput*, ControlId>*>(data);
  CallFromSignal([target] { target->first->Clicked(target->second); });
}

}  // namespace

DialogWindow::DialogWindow(const FormDesign& design, DialogInput& input, const char* icon_png)
    : input_(input), window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)) {
  GtkWindow* window = GTK_WINDOW(window_);
  gtk_window_set_title(window, design.caption.c_str());
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  if (design.centre_on_screen) gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  g_signal_connect_after(window_, "realize", G_CALLBACK(OfferOnlyClose), nullptr);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), &input_);

  GdkPixbuf* icon = LoadPicture(icon_png);
  if (icon) gtk_window_set_icon(window, icon);

  // Containers are layouts: unlike a fixed, a layout does not grow to hold a
  // control that reaches past its edge, it clips it, as the classic forms do.
  GtkWidget* form = gtk_layout_new(nullptr, nullptr);
  gtk_widget_set_size_request(form, Pixels(design.client_width), Pixels(design.client_height));
  gtk_container_add(GTK_CONTAINER(window_), form);
  containers_[""] = Container{form, {}};

  for (const ControlDesign& control : design.controls) {
    auto parent = containers_.find(control.container);
    if (parent == containers_.end()) {
      throw std::invalid_argument(control.name + " lies in " + control.container +
                                  ", which is not a frame placed before it");
    }
    GtkWidget* widget = Build(control, icon, parent->second);
    UseClassicMetrics(widget);
    gtk_widget_set_size_request(widget, Pixels(control.width), Pixels(control.height));
    gtk_layout_put(GTK_LAYOUT(parent->second.layout), widget, Pixels(control.left),
                   Pixels(control.top));
    parent->second.tab_order.push_back(widget);
    controls_.emplace_back(ControlId{control.name, control.index}, widget);
  }
  if (icon) g_object_unref(icon);

  for (const auto& [name, container] : containers_) {
    SetTabOrder(container.layout, container.tab_order);
  }
  // A group's first button starts out selected; the design says which is.
  for (const ControlDesign& control : design.controls) {
    if (control.kind == ControlKind::kOptionButton && control.value) {
      SelectOption({control.name, control.index});
    }
  }
}

DialogWindow::~DialogWindow() { gtk_widget_destroy(window_); }

GtkWidget* DialogWindow::Build(const ControlDesign& control, GdkPixbuf* icon, Container& parent) {
  switch (control.kind) {
    case ControlKind::kCommandButton: {
      GtkWidget* button = gtk_button_new_with_label(control.caption.c_str());
      StyleCaption(button, control);
      auto& target = click_targets_.emplace_back(&input_, ControlId{control.name, control.index});
      g_signal_connect(button, "clicked", G_CALLBACK(OnClicked), &target);
      return button;
    }
    case ControlKind::kFrame:
      return BuildFrame(control);
    case ControlKind::kOptionButton: {
      GtkWidget* button = NewOptionButton(control, parent.first_option);
      if (!parent.first_option) parent.first_option = button;
      return button;
    }
    case ControlKind::kPictureBox:
      return NewPictureArea(control.shows_icon ? icon : nullptr, control.back_colour);
    case ControlKind::kLabel:
      return NewLabel(control);
  }
  throw std::invalid_argument("unknown kind of control: " + control.name);
}

// The frame's controls are placed relative to its outer top-left corner, as
// the designer measured them, so they share a layout with the drawn frame
// instead of living inside the frame's border.
GtkWidget* DialogWindow::BuildFrame(const ControlDesign& control) {
  GtkWidget* layout = gtk_layout_new(nullptr, nullptr);
  GtkWidget* frame = gtk_frame_new(nullptr);
  GtkWidget* caption = NewLabel(control);
  gtk_frame_set_label_widget(GTK_FRAME(frame), caption);
  gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_ETCHED_IN);
  UseClassicMetrics(frame);
  UseClassicMetrics(caption);
  gtk_widget_set_size_request(frame, Pixels(control.width), Pixels(control.height));
  gtk_layout_put(GTK_LAYOUT(layout), frame, 0, 0);
  containers_[control.name] = Container{layout, {}};
  return layout;
}

void DialogWindow::Show() {
  gtk_widget_show_all(window_);
  // The control lowest in the tab order that can hold the focus takes it.
  for (const auto& [id, widget] : controls_) {
    if (gtk_widget_get_can_focus(widget)) {
      gtk_widget_grab_focus(widget);
      break;
    }
  }
}

void DialogWindow::Hide() { gtk_widget_hide(window_); }

GtkWidget* DialogWindow::Control(const ControlId& id) const {
  auto found = std::find_if(controls_.begin(), controls_.end(),
                            [&](const auto& entry) { return entry.first == id; });
  if (found == controls_.end()) {
    throw std::out_of_range("no control " + id.name + "(" + std::to_string(id.index) + ")");
  }
  return found->second;
}

GtkToggleButton* DialogWindow::Option(const ControlId& id) const {
  GtkWidget* widget = Control(id);
  if (!GTK_IS_RADIO_BUTTON(widget)) throw std::out_of_range(id.name + " is no option button");
  return GTK_TOGGLE_BUTTON(widget);
}

bool DialogWindow::OptionValue(const ControlId& option) {
  return gtk_toggle_button_get_active(Option(option));
}

// The radio group clears the other buttons of the container.
void DialogWindow::SelectOption(const ControlId& option) {
  gtk_toggle_button_set_active(Option(option), TRUE);
}

}  // namespace mofu::gtk
