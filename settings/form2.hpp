#pragma once

#include <array>
#include <memory>

#include "runtime/form_design.hpp"
#include "runtime/numeric.hpp"

namespace mofu {

// The eraser width as read when the dialog opened; Cancel puts it back.
extern Int16 BlkOnOpen;

// The designer's layout of the settings dialog.
FormDesign Form2Design();

// An option button of the dialog, reached by name (and index).
class OptionButton {
 public:
  OptionButton(DialogSurface& surface, ControlId id) : surface_(surface), id_(std::move(id)) {}
  Int16 Value() const { return surface_.OptionValue(id_) ? kTrue : kFalse; }
  void SetValue(Int16 value) {
    if (value == kTrue) surface_.SelectOption(id_);
  }

 private:
  DialogSurface& surface_;
  ControlId id_;
};

// The settings dialog: star density and walking speed.
class Form2 final : private DialogInput {
 public:
  static void Load();
  static Form2& Instance();
  static void Release();

  OptionButton Option1(int index) { return {*surface_, {"Option1", index}}; }
  OptionButton Option2() { return {*surface_, {"Option2"}}; }
  OptionButton Option3() { return {*surface_, {"Option3"}}; }
  OptionButton Option4() { return {*surface_, {"Option4"}}; }
  OptionButton Option5() { return {*surface_, {"Option5"}}; }
  OptionButton Option6() { return {*surface_, {"Option6"}}; }
  // Option2 to Option6, fastest first.
  std::array<OptionButton, 5> SpeedOptions() {
    return {Option2(), Option3(), Option4(), Option5(), Option6()};
  }

  // The buttons, as the user presses them.
  void Command1_Click();
  void Command2_Click();

 private:
  Form2();

  void Form_Load();
  void Form_Unload();
  void Unload();
  void WriteSettingsOrWarn();

  // DialogInput
  void Clicked(const ControlId& control) override;
  void CloseRequested() override;

  std::unique_ptr<DialogSurface> surface_;
};

}  // namespace mofu
