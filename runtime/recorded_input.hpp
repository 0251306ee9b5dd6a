#pragma once

#include <cstdint>
#include <vector>

#include "runtime/rect.hpp"
#include "runtime/sky_surface.hpp"

namespace mofu {

// One input as a backend reported it to the sky, kept to be handed on later.
struct RecordedInput {
  enum class Kind { kPointer, kButtonDown, kButtonUp, kKey, kClose, kExposed, kResized };

  RecordedInput(Kind k, double at_x = 0, double at_y = 0) : kind(k), x(at_x), y(at_y) {}
  static RecordedInput Key(std::int16_t key_code, std::int16_t shift, std::int16_t character) {
    RecordedInput key(Kind::kKey);
    key.key_code = key_code;
    key.shift = shift;
    key.character = character;
    return key;
  }
  static RecordedInput Exposure(const Rect& rect) {
    RecordedInput exposure(Kind::kExposed);
    exposure.rect = rect;
    return exposure;
  }

  Kind kind;
  double x = 0;
  double y = 0;
  std::int16_t key_code = 0;
  std::int16_t shift = 0;
  std::int16_t character = 0;
  Rect rect;

  void HandTo(SkyInput& input) const;
  bool operator==(const RecordedInput&) const = default;
};

// Writes down what a backend reports, to hand it on when the sky may take
// it: events may be read while the saver sleeps, and only its pump may call
// into it.
class InputRecorder final : public SkyInput {
 public:
  void PointerReport(double x, double y) override { Add({RecordedInput::Kind::kPointer, x, y}); }
  void ButtonDown(double x, double y) override { Add({RecordedInput::Kind::kButtonDown, x, y}); }
  void ButtonUp(double x, double y) override { Add({RecordedInput::Kind::kButtonUp, x, y}); }
  void KeyDown(std::int16_t key_code, std::int16_t shift, std::int16_t character) override {
    Add(RecordedInput::Key(key_code, shift, character));
  }
  void CloseRequested() override { Add({RecordedInput::Kind::kClose}); }
  void Exposed(const Rect& rect) override { Add(RecordedInput::Exposure(rect)); }
  void Resized() override { Add({RecordedInput::Kind::kResized}); }

  bool Empty() const { return events_.empty(); }
  const std::vector<RecordedInput>& Events() const { return events_; }
  // Hands everything recorded to `input`, oldest first, and forgets it.
  void HandAllTo(SkyInput& input);

 private:
  void Add(const RecordedInput& event) { events_.push_back(event); }

  std::vector<RecordedInput> events_;
};

}  // namespace mofu
