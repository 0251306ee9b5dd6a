#pragma once

#include <optional>
#include <string>
#include <vector>

#include "runtime/colour.hpp"

namespace mofu {

// A form as the designer laid it out; a backend builds real controls from it.
// Positions and sizes are in twips relative to the container (15 a pixel).
struct FontDesign {
  std::string name;
  double points = 9;
  bool bold = false;
  bool underline = false;
};

enum class ControlKind { kCommandButton, kFrame, kOptionButton, kPictureBox, kLabel };

struct ControlDesign {
  std::string name;
  int index = -1;  // element of a control array, or -1
  ControlKind kind = ControlKind::kLabel;
  std::string container;  // empty: the form itself; else the frame's name
  std::string caption;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int tab_index = 0;
  std::optional<Colour> fore_colour;
  std::optional<Colour> back_colour;
  std::optional<FontDesign> font;
  bool value = false;       // option button selected at design time
  bool shows_icon = false;  // picture box showing the program's icon
};

struct FormDesign {
  std::string caption;
  int client_width = 0;   // twips
  int client_height = 0;  // twips
  bool centre_on_screen = true;
  std::vector<ControlDesign> controls;  // in tab order
};

// Identifies one control: its name and, for an array element, its index.
struct ControlId {
  std::string name;
  int index = -1;
  bool operator==(const ControlId&) const = default;
};

// What a dialog delivers to its form's handlers.
class DialogInput {
 public:
  virtual ~DialogInput() = default;
  virtual void Clicked(const ControlId& control) = 0;
  virtual void CloseRequested() = 0;
};

// The real dialog window behind a form. Option buttons are grouped by their
// container: selecting one clears the others of the same container only.
class DialogSurface {
 public:
  virtual ~DialogSurface() = default;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool OptionValue(const ControlId& option) = 0;
  virtual void SelectOption(const ControlId& option) = 0;
};

}  // namespace mofu
