#pragma once

#include <gtk/gtk.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "runtime/form_design.hpp"

namespace mofu::gtk {

// A form built from its design with GTK widgets, each at its designed place
// and size in pixels (twips / 15) within its container.
class DialogWindow final : public DialogSurface {
 public:
  DialogWindow(const FormDesign& design, DialogInput& input, const char* icon_png);
  ~DialogWindow() override;
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  void Show() override;
  void Hide() override;
  bool OptionValue(const ControlId& option) override;
  void SelectOption(const ControlId& option) override;

  GtkWindow* Window() const { return GTK_WINDOW(window_); }
  // The widget that stands for a control; throws std::out_of_range if the
  // form has no such control.
  GtkWidget* Control(const ControlId& id) const;

 private:
  struct Container {
    GtkWidget* layout;
    std::vector<GtkWidget*> tab_order;
    GtkWidget* first_option = nullptr;  // the container's radio group
  };

  GtkWidget* Build(const ControlDesign& control, GdkPixbuf* icon, Container& parent);
  GtkWidget* BuildFrame(const ControlDesign& control);
  GtkToggleButton* Option(const ControlId& id) const;

  DialogInput& input_;
  GtkWidget* window_;
  std::map<std::string, Container> containers_;  // "" is the form itself
  std::vector<std::pair<ControlId, GtkWidget*>> controls_;
  // What each button's "clicked" handler needs; a deque keeps the addresses
  // handed to GTK stable.
  std::deque<std::pair<DialogInput*, ControlId>> click_targets_;
};

}  // namespace mofu::gtk
