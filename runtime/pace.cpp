#include "runtime/pace.hpp"

#include <algorithm>

namespace mofu {

PaceModel::PaceModel(PaceClock& clock, std::int64_t frame_micros, std::int64_t refresh_micros)
    : clock_(clock),
      frame_micros_(frame_micros),
      nominal_(clock.NowMicros()),
      now_(nominal_),
      last_present_(nominal_ - frame_micros_) {
  SetRefreshMicros(refresh_micros);
}

void PaceModel::Pass() {
  nominal_ += kPassMicros;
  WaitForRealTime();
  // A step the loop has run past is shown now, when real time reaches it.
  if (steps_unshown_ > 0 && nominal_ >= StepDue()) {
    ShowDueStep();
  } else {
    PresentDue();
  }
}

// Called as the cat is about to step. Moves at the same nominal time (a
// step and a drift) are one step; a step still waiting to be shown goes out
// first, if it is due, so that each is shown on its own. One not yet due
// waits for the display's next refresh, and this step joins it: the loop
// never waits past nominal time for a refresh, so faster than the display
// refreshes a present carries as many steps as keep the cat on its time.
void PaceModel::Stepped() {
  if (steps_unshown_ > 0 && step_at_ == nominal_) return;
  if (steps_unshown_ > 0 && nominal_ >= StepDue()) ShowDueStep();
  if (steps_unshown_ == 0) step_at_ = nominal_;
  ++steps_unshown_;
}

// Sleeps until real time reaches the waiting step, waking at once for input,
// and shows it.
void PaceModel::ShowDueStep() {
  const std::int64_t due = StepDue();
  while (now_ < due) {
    const bool input = clock_.WaitForInput(due);
    now_ = clock_.NowMicros();
    if (input) return;
  }
  // Counted from when it was due, so a late wake-up does not push every
  // later present back with it.
  Present(due);
}

void PaceModel::Iterations(std::int64_t count) {
  if (count <= 0) return;
  nominal_ += count * kIterationMicros;
  WaitForRealTime();
}

void PaceModel::PresentIfDue() {
  now_ = clock_.NowMicros();
  PresentIfDueAt(now_);
}

// When an unshown step goes on screen: when real time reaches it, and not
// within a display refresh of the last present.
std::int64_t PaceModel::StepDue() const {
  return std::max(step_at_, last_present_ + refresh_micros_);
}

// While a step waits to be shown, everything else waits with it, so that
// no frame shows the cat before its time.
void PaceModel::PresentDue() {
  if (steps_unshown_ == 0) {
    PresentIfDueAt(now_);
  } else if (now_ >= StepDue()) {
    Present(now_);
  }
}

void PaceModel::PresentIfDueAt(std::int64_t now) {
  if (now - last_present_ < frame_micros_) return;
  Present(now);
}

void PaceModel::Present(std::int64_t now) {
  last_present_ = now;
  steps_unshown_ = 0;
  clock_.PresentFrame();
}

// Lets real time catch up with nominal time: sleeps while nominal time is a
// frame or more ahead, and forgives a stall. Reads the clock once, and again
// only after a sleep: a pass uses the same reading to decide on a frame.
void PaceModel::WaitForRealTime() {
  now_ = clock_.NowMicros();
  if (now_ - nominal_ > kStallMicros) {
    nominal_ = now_;
    return;
  }
  // Input ends the sleep at once. A wait may also end before the deadline
  // without any (a frame timer's tick): then it is still too early to go on.
  // A step waiting to be shown wakes the sleep when it is due.
  while (nominal_ - now_ >= frame_micros_) {
    PresentDue();
    const std::int64_t wake = steps_unshown_ > 0 ? std::min(nominal_, StepDue()) : nominal_;
    const bool input = clock_.WaitForInput(wake);
    now_ = clock_.NowMicros();
    if (input) return;
  }
}

}  // namespace mofu
