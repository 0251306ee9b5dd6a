#pragma once

#include <cstdint>

// Where a measuring build may watch the loop, or run it without its pace:
// such a build names its own header in MOFU_PROBE_HEADER. Here every hook
// is empty and inline, so it costs nothing and leaves nothing behind.
#ifdef MOFU_PROBE_HEADER
#include MOFU_PROBE_HEADER
#else
namespace mofu::probe {

// Whether the loop keeps to its nominal pace.
inline constexpr bool kPaced = true;
// A pass of the loop reached its event yield.
inline void Pass() {}
// A dot went onto the sky: a star, or an eraser dot.
inline void Dot(bool /*eraser*/) {}
// Iterations of the sprite's delay.
inline void Delay(std::int64_t /*iterations*/) {}
// The sprite box moved sideways by this many pixels.
inline void Moved(double /*pixels*/) {}
// The saver's window is going.
inline void Ended() {}

}  // namespace mofu::probe
#endif
