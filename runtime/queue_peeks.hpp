#pragma once

#include <cstdint>

namespace mofu {

// When a backend peeks at its window system's event queue. Each peek is a
// call into the system (a server round trip under Wine) and the loop yields
// thousands of times a second; a peek every millisecond misses nothing a
// person does. A read the backend made anyway (a flush, or a wait that
// nothing cut short) counts as a peek; a wait that input cut short asks for
// a peek at once, and until then the backend knows input is waiting without
// asking the system again.
class QueuePeeks {
 public:
  static constexpr std::int64_t kEveryMicros = 1'000;

  // The queue was read just now and nothing waits in it.
  void MarkQueueRead() { read_ = true; }
  // Input is waiting: the next pass peeks, however soon.
  void MarkInputWaiting() { input_waiting_ = true; }
  // Input ended a wait and no pass has peeked at it yet.
  bool InputWaiting() const { return input_waiting_; }
  // Whether the pass at `now_micros` peeks; if it does, it counts as one.
  bool PeekNow(std::int64_t now_micros) {
    if (read_) {
      read_ = false;
      last_micros_ = now_micros;
    }
    if (!input_waiting_ && now_micros - last_micros_ < kEveryMicros) return false;
    input_waiting_ = false;
    last_micros_ = now_micros;
    return true;
  }

 private:
  std::int64_t last_micros_ = 0;
  bool read_ = false;
  bool input_waiting_ = false;
};

}  // namespace mofu
