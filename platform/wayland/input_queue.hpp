#pragma once

#include <cstdint>
#include <vector>

#include "runtime/sky_surface.hpp"

namespace mofu::wayland {

// Input as the compositor's events bring it, kept until the saver pumps its
// events. Events are read while the saver sleeps as well as while it pumps,
// and only a pump may call into the saver.
class InputQueue final : public SkyInput {
 public:
  void PointerReport(double x, double y) override { Push(Event(Kind::kPointer, x, y)); }
  void ButtonDown(double x, double y) override { Push(Event(Kind::kButtonDown, x, y)); }
  void ButtonUp(double x, double y) override { Push(Event(Kind::kButtonUp, x, y)); }
  void KeyDown(std::int16_t key_code, std::int16_t shift, std::int16_t character) override;
  void CloseRequested() override { Push(Event(Kind::kClose)); }
  void Exposed(const Rect& rect) override;
  void Resized() override { Push(Event(Kind::kResized)); }

  bool Empty() const { return events_.empty(); }
  // Hands everything queued to `input`, oldest first.
  void Drain(SkyInput& input);

 private:
  enum class Kind { kPointer, kButtonDown, kButtonUp, kKey, kClose, kExposed, kResized };
  struct Event {
    explicit Event(Kind k, double at_x = 0, double at_y = 0) : kind(k), x(at_x), y(at_y) {}
    Kind kind;
    double x = 0;
    double y = 0;
    std::int16_t key_code = 0;
    std::int16_t shift = 0;
    std::int16_t character = 0;
    Rect rect;
  };
  void Push(const Event& event) { events_.push_back(event); }

  std::vector<Event> events_;
};

}  // namespace mofu::wayland
