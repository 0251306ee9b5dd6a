#include "platform/pace.hpp"

namespace mofu {

PaceModel::PaceModel(PaceClock& clock)
    : clock_(clock), nominal_(clock.NowMicros()), last_present_(nominal_ - kFrameMicros) {}

void PaceModel::Pass() {
  nominal_ += kPassMicros;
  Settle();
}

void PaceModel::Iterations(std::int64_t count) {
  if (count <= 0) return;
  nominal_ += count * kIterationMicros;
  Settle();
}

void PaceModel::PresentIfDue() {
  const std::int64_t now = clock_.NowMicros();
  if (now - last_present_ < kFrameMicros) return;
  last_present_ = now;
  clock_.PresentFrame();
}

void PaceModel::Settle() {
  std::int64_t now = clock_.NowMicros();
  if (now - nominal_ > kStallMicros) {
    nominal_ = now;
    return;
  }
  // Input ends the sleep at once. A wait may also end before the deadline
  // without any (a frame timer's tick): then it is still too early to go on.
  while (nominal_ - now >= kSleepAheadMicros) {
    PresentIfDue();
    if (clock_.WaitForInput(nominal_)) return;
    now = clock_.NowMicros();
  }
}

}  // namespace mofu
