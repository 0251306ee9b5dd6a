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
  const std::int64_t now = clock_.NowMicros();
  if (now - nominal_ > kStallMicros) {
    nominal_ = now;
    return;
  }
  if (nominal_ - now < kSleepAheadMicros) return;
  PresentIfDue();
  clock_.WaitForInput(nominal_);
}

}  // namespace mofu
