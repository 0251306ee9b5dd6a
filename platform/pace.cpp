#include "platform/pace.hpp"

namespace mofu {

PaceModel::PaceModel(PaceClock& clock, std::int64_t frame_micros)
    : clock_(clock),
      frame_micros_(frame_micros),
      nominal_(clock.NowMicros()),
      now_(nominal_),
      last_present_(nominal_ - frame_micros_) {}

void PaceModel::Pass() {
  nominal_ += kPassMicros;
  Settle();
  PresentIfDueAt(now_);
}

void PaceModel::Iterations(std::int64_t count) {
  if (count <= 0) return;
  nominal_ += count * kIterationMicros;
  Settle();
}

void PaceModel::PresentIfDue() {
  now_ = clock_.NowMicros();
  PresentIfDueAt(now_);
}

void PaceModel::PresentIfDueAt(std::int64_t now) {
  if (now - last_present_ < frame_micros_) return;
  last_present_ = now;
  clock_.PresentFrame();
}

// Reads the clock once, and again only after a sleep: a pass uses the same
// reading to decide whether a frame is due.
void PaceModel::Settle() {
  now_ = clock_.NowMicros();
  if (now_ - nominal_ > kStallMicros) {
    nominal_ = now_;
    return;
  }
  // Input ends the sleep at once. A wait may also end before the deadline
  // without any (a frame timer's tick): then it is still too early to go on.
  while (nominal_ - now_ >= frame_micros_) {
    PresentIfDueAt(now_);
    const bool input = clock_.WaitForInput(nominal_);
    now_ = clock_.NowMicros();
    if (input) return;
  }
}

}  // namespace mofu
