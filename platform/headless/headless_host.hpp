#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "runtime/form_design.hpp"
#include "runtime/host.hpp"
#include "runtime/random.hpp"
#include "runtime/recorded_input.hpp"
#include "runtime/sky_surface.hpp"

namespace mofu::headless {

// Random draws handed out in the order a test scripts them; once the script
// runs out, every draw is `after_script`.
class ScriptedRandom final : public RandomSource {
 public:
  float Draw() override;
  std::deque<float> script;
  float after_script = 0.5f;
  int drawn = 0;
};

// The per-user store in memory. Keys named in `failing_writes` refuse to be
// written.
class MemorySettings final : public SettingsStore {
 public:
  std::optional<std::string> Read(std::string_view app, std::string_view section,
                                  std::string_view key) override;
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;

  std::map<std::string, std::string> values;    // "app/section/key" -> text
  std::set<std::string> failing_writes;         // keys
  std::vector<std::string> writes;              // "key=value", in order
  std::vector<std::string>* journal = nullptr;  // reads and writes, as they happen
  void Put(const std::string& key, const std::string& value);
  std::optional<std::string> Get(const std::string& key) const;
};

// One scripted input event for the saver window.
using InputEvent = RecordedInput;

// A fake dialog: option buttons grouped by container, nothing on screen.
class FakeDialog final : public DialogSurface {
 public:
  FakeDialog(const FormDesign& design, DialogInput& input, std::vector<std::string>& log);
  void Show() override;
  void Hide() override;
  bool OptionValue(const ControlId& option) override;
  void SelectOption(const ControlId& option) override;

  // What a user does.
  void Click(const ControlId& control) { input_.Clicked(control); }
  void Close() { input_.CloseRequested(); }
  // The selected option of a container, e.g. "Frame1".
  std::optional<ControlId> Selected(const std::string& container) const;
  bool visible = false;

 private:
  struct Option {
    ControlId id;
    std::string container;
    bool value;
  };
  Option& Find(const ControlId& id);
  std::vector<Option> options_;
  DialogInput& input_;
  std::vector<std::string>& log_;
};

// The headless backend: a fake clock, scripted input and random draws, the
// settings in memory, and a log of every request made to the system.
class HeadlessHost final : public Host {
 public:
  HeadlessHost();
  ~HeadlessHost() override;

  // Host
  bool PrevInstance() override { return prev_instance; }
  std::string CommandText() override {
    ++command_reads;
    return command_text;
  }
  int MsgBox(std::string_view prompt, int style, std::string_view title) override;
  SettingsStore& Settings() override { return settings; }
  RandomSource& Random() override { return random; }
  int ScreenPixelWidth() override { return screen_width; }
  int ScreenPixelHeight() override { return screen_height; }
  std::string PicturePath(std::string_view file_name) override;
  std::unique_ptr<SkySurface> CreateSkySurface() override;
  std::unique_ptr<DialogSurface> CreateDialogSurface(const FormDesign& design,
                                                     DialogInput& input) override;
  void RunEventLoop() override;
  void SuspendSystemBlanker(bool suspend) override;
  bool SystemBlankerSuspended() override;
  void ReportUnhandledError(std::string_view description) override;

  // Scripted input: delivered by the yield with this number (1 = the first).
  void InputAtYield(int yield, InputEvent event);
  // Scripted input: arrives at this fake time; a sleep wakes for it.
  void InputAtTime(std::int64_t micros, InputEvent event);
  // Ends the loop with a key on this yield (a guard for loop tests).
  void KeyAtYield(int yield) { InputAtYield(yield, {InputEvent::Kind::kKey}); }

  // Called at each yield, before input is delivered, with its number.
  std::function<void(int)> on_yield;
  // Called as each frame goes to the screen.
  std::function<void()> on_present;
  // Called as the saver window or the dialog is created, before anything
  // is; may throw, as a system that refuses a window does.
  std::function<void()> on_create_window;
  // A loop test that forgets to end its loop fails instead of hanging.
  int max_yields = 200'000;

  // Settings of the fake system.
  bool prev_instance = false;
  std::string command_text;
  int screen_width = 1920;
  int screen_height = 1080;
  std::int32_t saver_active = 1;  // whether the system's blanker is held off
  std::string picture_folder;     // empty: pose pictures are missing
  ScriptedRandom random;
  MemorySettings settings;

  // What happened.
  std::vector<std::string> log;
  bool pointer_hidden = false;
  int command_reads = 0;
  int yields = 0;
  std::int64_t now_micros = 0;
  std::int64_t slept_micros = 0;
  int presents = 0;
  int blits = 0;
  std::vector<std::string> message_boxes;  // "title|style|prompt"
  FakeDialog* dialog = nullptr;
  bool window_visible = false;
  bool event_loop_ran = false;
  std::vector<std::string> unhandled_errors;

  // The clock and input, as the fake surface sees them.
  std::int64_t Now() const { return now_micros; }
  bool Wait(std::int64_t deadline);
  void Pump(SkyInput& input);

 private:
  std::multimap<int, InputEvent> by_yield_;
  std::multimap<std::int64_t, InputEvent> by_time_;
};

}  // namespace mofu::headless
