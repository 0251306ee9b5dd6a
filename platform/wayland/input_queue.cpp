#include "platform/wayland/input_queue.hpp"

namespace mofu::wayland {

void InputQueue::KeyDown(std::int16_t key_code, std::int16_t shift, std::int16_t character) {
  Event event(Kind::kKey);
  event.key_code = key_code;
  event.shift = shift;
  event.character = character;
  Push(event);
}

void InputQueue::Exposed(const Rect& rect) {
  Event event(Kind::kExposed);
  event.rect = rect;
  Push(event);
}

void InputQueue::Drain(SkyInput& input) {
  // The saver may end, or take a new size, in any of these calls: the queue
  // is taken first so that nothing it does can disturb the walk.
  std::vector<Event> events;
  events.swap(events_);
  for (const Event& e : events) {
    switch (e.kind) {
      case Kind::kPointer:
        input.PointerReport(e.x, e.y);
        break;
      case Kind::kButtonDown:
        input.ButtonDown(e.x, e.y);
        break;
      case Kind::kButtonUp:
        input.ButtonUp(e.x, e.y);
        break;
      case Kind::kKey:
        input.KeyDown(e.key_code, e.shift, e.character);
        break;
      case Kind::kClose:
        input.CloseRequested();
        break;
      case Kind::kExposed:
        input.Exposed(e.rect);
        break;
      case Kind::kResized:
        input.Resized();
        break;
    }
  }
}

}  // namespace mofu::wayland
