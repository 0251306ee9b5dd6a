#include "settings/form2.hpp"

#include <array>

#include "runtime/host.hpp"
#include "runtime/runtime_error.hpp"
#include "runtime/services.hpp"
#include "settings/settings.hpp"

namespace mofu {

Int16 BlkOnOpen = 0;

namespace {

std::unique_ptr<Form2> instance;

// The values behind Option1(0..4) and behind Option2..Option6.
constexpr std::array<Int16, 5> kBlkChoices = {10, 20, 40, 80, 120};
constexpr std::array<Int16, 5> kSpeedChoices = {1, 2, 4, 7, 11};

constexpr int vbExclamation = 48;

}  // namespace

Form2::Form2() : surface_(host().CreateDialogSurface(Form2Design(), *this)) {}

void Form2::Load() {
  if (!instance) instance.reset(new Form2());
  instance->Form_Load();
}

Form2& Form2::Instance() { return *instance; }
void Form2::Release() { instance.reset(); }

void Form2::Form_Load() {
  surface_->Show();
  try {
    BlkWidth = ReadSetting(kBlkKey, kBlkDefault);
  } catch (const RuntimeError&) {
    BlkWidth = kBlkFallback;
  }
  try {
    SpeedLevel = ReadSetting(kSpeedKey, kSpeedDefault);
  } catch (const RuntimeError&) {
    SpeedLevel = kSpeedFallback;
  }
  BlkOnOpen = BlkWidth;

  // A value outside the choices selects nothing: the design-time choice stays.
  for (int i = 0; i < 5; ++i) {
    if (BlkWidth == kBlkChoices[i]) Option1(i).SetValue(kTrue);
  }
  std::array<OptionButton, 5> speed = SpeedOptions();
  for (int i = 0; i < 5; ++i) {
    if (SpeedLevel == kSpeedChoices[i]) speed[i].SetValue(kTrue);
  }
}

void Form2::Command1_Click() {
  for (int i = 0; i < 5; ++i) {
    if (Option1(i).Value() == kTrue) {
      BlkWidth = kBlkChoices[i];
      break;
    }
  }
  std::array<OptionButton, 5> speed = SpeedOptions();
  for (int i = 0; i < 5; ++i) {
    if (speed[i].Value() == kTrue) {
      SpeedLevel = kSpeedChoices[i];
      break;
    }
  }
  WriteSettingsOrWarn();
  Unload();
}

// Both writes are tried, "blk" first; nothing written is undone. A failure
// is not silent: the user is told the choice was not kept.
void Form2::WriteSettingsOrWarn() {
  bool failed = false;
  try {
    WriteSetting(kBlkKey, BlkWidth);
  } catch (const RuntimeError&) {
    failed = true;
  }
  try {
    WriteSetting(kSpeedKey, SpeedLevel);
  } catch (const RuntimeError&) {
    failed = true;
  }
  if (failed) MsgBox("設定を保存できませんでした。", vbExclamation, "Mofu Saver");
}

void Form2::Command2_Click() {
  BlkWidth = BlkOnOpen;
  Unload();
}

void Form2::Unload() { Form_Unload(); }

void Form2::Form_Unload() { End(); }

void Form2::Clicked(const ControlId& control) {
  if (control == ControlId{"Command1"}) Command1_Click();
  if (control == ControlId{"Command2"}) Command2_Click();
}

void Form2::CloseRequested() { Unload(); }

}  // namespace mofu
