#include "runtime/numeric.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "runtime/runtime_error.hpp"
#include "runtime/strings.hpp"

namespace mofu {
namespace {

// A result as text, or "error N" for the run-time error it raised.
std::string Outcome(auto&& f) {
  try {
    return std::to_string(f());
  } catch (const RuntimeError& e) {
    return "error " + std::to_string(static_cast<int>(e.Number()));
  }
}

TEST(Numeric, ConversionsRoundHalfToEvenAndOverflow) {
  const std::pair<double, const char*> to_int16[] = {
      {2.5, "2"},
      {-2.5, "-2"},
      {-32768.5, "-32768"},
      {32767.5, "error 6"},
      {std::nan(""), "error 6"},
  };
  for (auto [in, out] : to_int16) EXPECT_EQ(Outcome([&] { return CInt(in); }), out) << in;
  EXPECT_EQ(Outcome([] { return CLng(2147483647.4); }), "2147483647");
  EXPECT_EQ(Outcome([] { return CLng(2147483647.5); }), "error 6");
  EXPECT_EQ(Fix(-2.7), -2);
  // Settings are text: blanks, a sign and a fraction are fine, nothing else.
  const std::pair<const char*, const char*> from_text[] = {
      {" 0033 ", "33"},    {"13.5", "14"},      {"\t+40\t", "40"},  {"", "error 13"},
      {"1e3", "error 13"}, {"4 0", "error 13"}, {"4O", "error 13"}, {"32768", "error 6"},
  };
  for (auto [in, out] : from_text) EXPECT_EQ(Outcome([&] { return TextToInt16(in); }), out) << in;
  EXPECT_EQ(Int16ToText(-5), "-5");
}

// Rounding without the maths library must agree with it everywhere: ties on
// both sides of zero, the last doubles that still have a fraction, values
// already whole, signed zeros, infinities.
TEST(Numeric, RoundToEvenAgreesWithTheMathsLibrary) {
  const double two52 = 4503599627370496.0;
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {-0.0, -0.4, -2.5, 0.49999999999999994, two52 - 0.5, two52, inf}) {
    EXPECT_EQ(RoundToEven(v), std::nearbyint(v)) << v;
    EXPECT_EQ(std::signbit(RoundToEven(v)), std::signbit(v)) << v;
  }
  EXPECT_TRUE(std::isnan(RoundToEven(std::numeric_limits<double>::quiet_NaN())));
}

TEST(Strings, LeftCountsCharactersAndUCaseTouchesOnlyAscii) {
  EXPECT_EQ(Left("/", 2), "/");
  EXPECT_EQ(Left("a設定", 2), "a設");
  EXPECT_EQ(UCase("/s 1234"), "/S 1234");
  EXPECT_EQ(UCase("/ä"), "/ä");
}

}  // namespace
}  // namespace mofu
