#pragma once

#include <cstdint>

namespace mofu {

// When a backend looks at its window system's event queue. Each look is a
// call into the system (a server round trip under Wine) and the loop yields
// thousands of times a second; a look every millisecond misses nothing a
// person does. A read the backend made anyway (a flush, or a wait that
// nothing cut short) counts as a look; a wait that input cut short asks for
// a look at once, and until that look the backend knows input is waiting
// without asking the system again.
class QueueLooks {
 public:
  static constexpr std::int64_t kEveryMicros = 1'000;

  // The queue was read just now and nothing waits in it.
  void Read() { read_ = true; }
  // Input is waiting: the next pass looks, however soon.
  void Wanted() { wanted_ = true; }
  // Input ended a wait and no pass has looked at it yet.
  bool Waiting() const { return wanted_; }
  // Whether the pass at `now_micros` looks; if it does, it counts as one.
  bool Due(std::int64_t now_micros) {
    if (read_) {
      read_ = false;
      last_micros_ = now_micros;
    }
    if (!wanted_ && now_micros - last_micros_ < kEveryMicros) return false;
    wanted_ = false;
    last_micros_ = now_micros;
    return true;
  }

 private:
  std::int64_t last_micros_ = 0;
  bool read_ = false;
  bool wanted_ = false;
};

}  // namespace mofu
