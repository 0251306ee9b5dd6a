#include "runtime/recorded_input.hpp"

namespace mofu {

void RecordedInput::HandTo(SkyInput& input) const {
  switch (kind) {
    case Kind::kPointer:
      input.PointerReport(x, y);
      break;
    case Kind::kButtonDown:
      input.ButtonDown(x, y);
      break;
    case Kind::kButtonUp:
      input.ButtonUp(x, y);
      break;
    case Kind::kKey:
      input.KeyDown(key_code, shift, character);
      break;
    case Kind::kClose:
      input.CloseRequested();
      break;
    case Kind::kExposed:
      input.Exposed(rect);
      break;
    case Kind::kResized:
      input.Resized();
      break;
  }
}

void InputRecorder::HandAllTo(SkyInput& input) {
  // The saver may end, or take a new size, in any of these calls: the list
  // is taken first so that nothing it does can disturb the walk.
  std::vector<RecordedInput> events;
  events.swap(events_);
  for (const RecordedInput& event : events) event.HandTo(input);
}

}  // namespace mofu
