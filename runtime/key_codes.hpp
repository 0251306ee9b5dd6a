#pragma once

#include <cstdint>

namespace mofu::keys {

// The classic virtual-key numbers the key handlers receive. Letters and
// digits are their upper-case characters ('A', '0').
enum Code : std::int16_t {
  kBack = 8,
  kTab = 9,
  kReturn = 13,
  kShift = 16,
  kControl = 17,
  kAlt = 18,
  kEscape = 27,
  kSpace = 32,
  kPageUp = 33,
  kPageDown = 34,
  kEnd = 35,
  kHome = 36,
  kLeft = 37,
  kUp = 38,
  kRight = 39,
  kDown = 40,
  kInsert = 45,
  kDelete = 46,
  kF1 = 112,  // F2 .. F12 follow in a row
};

// The modifier state a key event carries, as bits.
constexpr std::int16_t kShiftDown = 1;
constexpr std::int16_t kControlDown = 2;
constexpr std::int16_t kAltDown = 4;

}  // namespace mofu::keys
