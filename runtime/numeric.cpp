#include "runtime/numeric.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "runtime/runtime_error.hpp"

namespace mofu {
namespace {

template <typename Int>
Int RoundHalfEven(double value) {
  const double rounded = RoundToEven(value);
  if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        rounded <= static_cast<double>(std::numeric_limits<Int>::max()))) {
    throw RuntimeError(ErrorNumber::kOverflow, "Overflow");
  }
  return static_cast<Int>(rounded);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Adding 2^52 leaves no bits for a fraction, so the sum is rounded the way
// the default floating-point environment rounds: to nearest, ties to even.
// Done by hand, the saver needs no maths library at all.
double RoundToEven(double value) {
  constexpr double kNoFraction = 4503599627370496.0;    // 2^52
  if (!(std::fabs(value) < kNoFraction)) return value;  // whole already, or not a number
  const double shift = std::copysign(kNoFraction, value);
  return std::copysign((value + shift) - shift, value);  // -0.4 gives -0, as rint does
}

Int16 CInt(double value) { return RoundHalfEven<Int16>(value); }
Int32 CLng(double value) { return RoundHalfEven<Int32>(value); }

double Fix(double value) { return std::trunc(value); }

Int16 TextToInt16(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::string_view body = text.substr(begin, end - begin);

  bool negative = false;
  if (!body.empty() && (body[0] == '-' || body[0] == '+')) {
    negative = body[0] == '-';
    body.remove_prefix(1);
  }
  double magnitude = 0;
  double scale = 0;  // 0 while in the whole part, then 0.1, 0.01, ...
  int digits = 0;
  for (char c : body) {
    if (IsDigit(c)) {
      ++digits;
      if (scale == 0) {
        // Saturate far beyond the 16-bit range: the overflow check below
        // still fires, and a very long text cannot turn into infinity.
        magnitude = std::min(magnitude * 10 + (c - '0'), 1e12);
      } else {
        magnitude += (c - '0') * scale;
        scale /= 10;
      }
    } else if (c == '.' && scale == 0) {
      scale = 0.1;
    } else {
      throw RuntimeError(ErrorNumber::kTypeMismatch, "Type mismatch");
    }
  }
  if (digits == 0) throw RuntimeError(ErrorNumber::kTypeMismatch, "Type mismatch");
  return CInt(negative ? -magnitude : magnitude);
}

std::string Int16ToText(Int16 value) { return std::to_string(value); }

}  // namespace mofu
