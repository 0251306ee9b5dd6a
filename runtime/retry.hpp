#pragma once

#include <algorithm>
#include <cstdint>

namespace mofu {

// Tries `attempt` until it succeeds or `budget_micros` have passed, pausing
// `pause_micros` between tries. The first try is at once and the last comes
// at the end of the budget, so something released just before it is still
// had. `now` reads a monotonic clock; `pause` sleeps for the given time.
template <typename Attempt, typename Now, typename Pause>
bool RetryWithin(std::int64_t budget_micros, std::int64_t pause_micros, Attempt&& attempt,
                 Now&& now, Pause&& pause) {
  const std::int64_t deadline = now() + budget_micros;
  for (;;) {
    if (attempt()) return true;
    const std::int64_t left = deadline - now();
    if (left <= 0) return false;
    pause(std::min(pause_micros, left));
  }
}

}  // namespace mofu
