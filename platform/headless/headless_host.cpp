#include "platform/headless/headless_host.hpp"

#include <algorithm>
#include <stdexcept>

#include "runtime/runtime_error.hpp"
#include "runtime/services.hpp"

namespace mofu::headless {

float ScriptedRandom::Draw() {
  ++drawn;
  if (script.empty()) return after_script;
  const float value = script.front();
  script.pop_front();
  return value;
}

namespace {
std::string StoreKey(std::string_view app, std::string_view section, std::string_view key) {
  return std::string(app) + "/" + std::string(section) + "/" + std::string(key);
}
}  // namespace

std::optional<std::string> MemorySettings::Read(std::string_view app, std::string_view section,
                                                std::string_view key) {
  if (journal) journal->push_back("read " + std::string(key));
  auto it = values.find(StoreKey(app, section, key));
  if (it == values.end()) return std::nullopt;
  return it->second;
}

void MemorySettings::Write(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view value) {
  if (journal) journal->push_back("write " + std::string(key));
  if (failing_writes.count(std::string(key))) {
    throw RuntimeError(ErrorNumber::kSettingsWrite, "Settings store cannot be written");
  }
  values[StoreKey(app, section, key)] = std::string(value);
  writes.push_back(std::string(key) + "=" + std::string(value));
}

void MemorySettings::Put(const std::string& key, const std::string& value) {
  values[StoreKey("mofu", "setting", key)] = value;
}

std::optional<std::string> MemorySettings::Get(const std::string& key) const {
  auto it = values.find(StoreKey("mofu", "setting", key));
  if (it == values.end()) return std::nullopt;
  return it->second;
}

FakeDialog::FakeDialog(const FormDesign& design, DialogInput& input, std::vector<std::string>& log)
    : input_(input), log_(log) {
  for (const ControlDesign& c : design.controls) {
    if (c.kind == ControlKind::kOptionButton) {
      options_.push_back({{c.name, c.index}, c.container, c.value});
    }
  }
}

void FakeDialog::Show() {
  visible = true;
  log_.push_back("dialog show");
}

void FakeDialog::Hide() {
  visible = false;
  log_.push_back("dialog hide");
}

FakeDialog::Option& FakeDialog::Find(const ControlId& id) {
  auto it =
      std::find_if(options_.begin(), options_.end(), [&](const Option& o) { return o.id == id; });
  if (it == options_.end()) throw std::logic_error("no such option button: " + id.name);
  return *it;
}

bool FakeDialog::OptionValue(const ControlId& option) { return Find(option).value; }

void FakeDialog::SelectOption(const ControlId& option) {
  const std::string container = Find(option).container;
  for (Option& o : options_) {
    if (o.container == container) o.value = o.id == option;
  }
}

std::optional<ControlId> FakeDialog::Selected(const std::string& container) const {
  for (const Option& o : options_) {
    if (o.container == container && o.value) return o.id;
  }
  return std::nullopt;
}

namespace {

class FakeSurface final : public SkySurface {
 public:
  explicit FakeSurface(HeadlessHost& host) : host_(host) {}
  int Width() const override { return host_.screen_width; }
  int Height() const override { return host_.screen_height; }
  std::uintptr_t Handle() const override { return 0x1234; }
  void Show() override {
    host_.window_visible = true;
    host_.log.push_back("show");
  }
  void Hide() override {
    host_.window_visible = false;
    host_.log.push_back("hide");
  }
  void Blit(const Rect&, const std::uint32_t*, int) override { ++host_.blits; }
  void Flush() override {
    ++host_.presents;
    if (host_.on_present) host_.on_present();
  }
  void PumpEvents(SkyInput& input, std::int64_t) override { host_.Pump(input); }
  std::int64_t NowMicros() override { return host_.Now(); }
  bool WaitForInput(std::int64_t deadline) override { return host_.Wait(deadline); }
  void KeepOnTop() override { host_.log.push_back("topmost"); }
  void SetPointerHidden(bool hidden) override {
    host_.pointer_hidden = hidden;
    host_.log.push_back(hidden ? "pointer hidden" : "pointer shown");
  }

 private:
  HeadlessHost& host_;
};

}  // namespace

HeadlessHost::HeadlessHost() { settings.journal = &log; }
HeadlessHost::~HeadlessHost() = default;

int HeadlessHost::MsgBox(std::string_view prompt, int style, std::string_view title) {
  message_boxes.push_back(std::string(title) + "|" + std::to_string(style) + "|" +
                          std::string(prompt));
  log.push_back("msgbox");
  return 1;
}

std::string HeadlessHost::PicturePath(std::string_view file_name) {
  if (picture_folder.empty()) return "/nonexistent/" + std::string(file_name);
  return picture_folder + "/" + std::string(file_name);
}

std::unique_ptr<SkySurface> HeadlessHost::CreateSkySurface() {
  if (on_create_window) on_create_window();
  log.push_back("create window");
  return std::make_unique<FakeSurface>(*this);
}

std::unique_ptr<DialogSurface> HeadlessHost::CreateDialogSurface(const FormDesign& design,
                                                                 DialogInput& input) {
  if (on_create_window) on_create_window();
  log.push_back("create dialog");
  auto surface = std::make_unique<FakeDialog>(design, input, log);
  dialog = surface.get();
  return surface;
}

void HeadlessHost::RunEventLoop() { event_loop_ran = true; }

void HeadlessHost::SuspendSystemBlanker(bool suspend) {
  saver_active = suspend;
  log.push_back(suspend ? "blanker suspended" : "blanker restored");
}

bool HeadlessHost::SystemBlankerSuspended() {
  log.push_back("blanker read");
  return saver_active != 0;
}

void HeadlessHost::ReportUnhandledError(std::string_view description) {
  unhandled_errors.emplace_back(description);
  log.push_back("unhandled error");
}

void HeadlessHost::InputAtYield(int yield, InputEvent event) { by_yield_.emplace(yield, event); }

void HeadlessHost::InputAtTime(std::int64_t micros, InputEvent event) {
  by_time_.emplace(micros, event);
}

bool HeadlessHost::Wait(std::int64_t deadline) {
  // Timed input that has come already, or comes before the deadline, wakes.
  if (!by_time_.empty() && by_time_.begin()->first <= std::max(deadline, now_micros)) {
    const std::int64_t at = std::max(by_time_.begin()->first, now_micros);
    slept_micros += at - now_micros;
    now_micros = at;
    return true;
  }
  if (deadline > now_micros) {
    slept_micros += deadline - now_micros;
    now_micros = deadline;
  }
  return false;
}

void HeadlessHost::Pump(SkyInput& input) {
  ++yields;
  if (yields > max_yields) throw std::logic_error("the saver loop never ended");
  if (on_yield) on_yield(yields);
  std::vector<InputEvent> due;
  for (auto it = by_time_.begin(); it != by_time_.end() && it->first <= now_micros;) {
    due.push_back(it->second);
    it = by_time_.erase(it);
  }
  auto [first, last] = by_yield_.equal_range(yields);
  for (auto it = first; it != last; ++it) due.push_back(it->second);
  by_yield_.erase(first, last);
  for (const InputEvent& event : due) event.HandTo(input);
}

}  // namespace mofu::headless
