#pragma once

// The bench build's probe: counts what the loop does and reports it on the
// saver's standard error as it ends, for bench/run.sh to read.
#include <cstdint>
#include <cstdio>

namespace mofu::probe {

struct Counts {
  std::int64_t passes = 0;
  std::int64_t stars = 0;
  std::int64_t eraser_dots = 0;
  std::int64_t delay_iterations = 0;
  double walked = 0;  // pixels the cat stepped, not counting its jumps back
};
inline Counts counts;

#ifdef MOFU_PROBE_FLAT_OUT
inline constexpr bool kPaced = false;
#else
inline constexpr bool kPaced = true;
#endif

inline void Pass() { ++counts.passes; }
inline void Dot(bool eraser) { ++(eraser ? counts.eraser_dots : counts.stars); }
inline void Delay(std::int64_t iterations) { counts.delay_iterations += iterations; }
inline void Moved(double pixels) {
  if (pixels <= 1) counts.walked += pixels;
}
inline void Ended() {
  std::fprintf(stderr,
               "mofu-counters passes=%lld stars=%lld eraser_dots=%lld sprite_pixels=%.0f "
               "delay_iterations=%lld\n",
               static_cast<long long>(counts.passes), static_cast<long long>(counts.stars),
               static_cast<long long>(counts.eraser_dots), counts.walked,
               static_cast<long long>(counts.delay_iterations));
}

}  // namespace mofu::probe
