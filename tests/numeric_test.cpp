#include "runtime/numeric.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "runtime/runtime_error.hpp"
#include "runtime/strings.hpp"

namespace mofu {
namespace {

std::optional<ErrorNumber> ErrorOf(auto&& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return std::nullopt;
}

TEST(Numeric, CIntRoundsHalfToEvenAndOverflows) {
  struct Case {
    double in;
    Int16 out;
    bool overflow;
  };
  const Case cases[] = {
      {2.5, 2, false},     {-2.5, -2, false},       {32767.5, 0, true}, {-32768.5, -32768, false},
      {-32768.6, 0, true}, {std::nan(""), 0, true}, {1e300, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    if (c.overflow) {
      EXPECT_EQ(ErrorOf([&] { CInt(c.in); }), ErrorNumber::kOverflow);
    } else {
      EXPECT_EQ(CInt(c.in), c.out);
    }
  }
  EXPECT_EQ(CLng(2147483647.4), 2147483647);
  EXPECT_EQ(ErrorOf([] { CLng(2147483647.5); }), ErrorNumber::kOverflow);
  EXPECT_EQ(Fix(-2.7), -2);
  EXPECT_EQ(Fix(2.7), 2);
}

// Rounding without the maths library must agree with it everywhere: ties on
// both sides of zero, the last doubles that still have a fraction, values
// already whole, signed zeros, infinities.
TEST(Numeric, RoundToEvenAgreesWithTheMathsLibrary) {
  const double two52 = 4503599627370496.0;
  const double inf = std::numeric_limits<double>::infinity();
  const double cases[] = {-0.0, -0.4, -2.5, 0.49999999999999994, two52 - 0.5, two52, inf};
  for (double v : cases) {
    SCOPED_TRACE(v);
    const double want = std::nearbyint(v);
    const double got = RoundToEven(v);
    EXPECT_EQ(got, want);
    EXPECT_EQ(std::signbit(got), std::signbit(want));
  }
  EXPECT_TRUE(std::isnan(RoundToEven(std::numeric_limits<double>::quiet_NaN())));
}

TEST(Numeric, TextToInt16) {
  struct Case {
    const char* text;
    std::optional<Int16> value;
    std::optional<ErrorNumber> error;
  };
  const Case cases[] = {
      {" 0033 ", 33, {}},
      {"13.5", 14, {}},
      {"\t+40\t", 40, {}},
      {"", {}, ErrorNumber::kTypeMismatch},
      {"4O", {}, ErrorNumber::kTypeMismatch},
      {"1e3", {}, ErrorNumber::kTypeMismatch},
      {"4 0", {}, ErrorNumber::kTypeMismatch},
      {"32768", {}, ErrorNumber::kOverflow},
      {"99999999999999999999999", {}, ErrorNumber::kOverflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.value) {
      EXPECT_EQ(TextToInt16(c.text), *c.value);
    } else {
      EXPECT_EQ(ErrorOf([&] { TextToInt16(c.text); }), c.error);
    }
  }
  EXPECT_EQ(Int16ToText(-5), "-5");
}

TEST(Strings, LeftCountsCharactersAndUCaseTouchesOnlyAscii) {
  EXPECT_EQ(Left("/", 2), "/");
  EXPECT_EQ(Left("a設定", 2), "a設");
  EXPECT_EQ(UCase("/s 1234"), "/S 1234");
  EXPECT_EQ(UCase("/ä"), "/ä");
}

}  // namespace
}  // namespace mofu
