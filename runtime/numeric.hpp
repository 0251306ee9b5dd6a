#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mofu {

using Int16 = std::int16_t;
using Int32 = std::int32_t;

inline constexpr Int16 kTrue = -1;
inline constexpr Int16 kFalse = 0;

// The nearest whole number, halves to the even neighbour (NaN stays NaN).
double RoundToEven(double value);

// Rounds to the nearest integer, halves to the even neighbour, and raises the
// overflow error when the result does not fit (NaN never fits).
Int16 CInt(double value);
Int32 CLng(double value);

// Truncation toward zero.
double Fix(double value);

// Text to a 16-bit integer: optional blanks around an optional sign, digits
// and an optional fraction (rounded half to even). Anything else, the empty
// text included, is a type mismatch; a number outside -32768..32767 overflows.
Int16 TextToInt16(std::string_view text);

// Decimal text: digits only, a leading minus for negatives, no blanks.
std::string Int16ToText(Int16 value);

}  // namespace mofu
