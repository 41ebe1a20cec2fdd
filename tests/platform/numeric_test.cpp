#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "platform/vb_numeric.h"

using namespace kv;

TEST(Conversions, RoundHalvesToEven) {
  EXPECT_EQ(cint(2.5), 2);
  EXPECT_EQ(cint(3.5), 4);
  EXPECT_EQ(cint(-2.5), -2);
  EXPECT_EQ(cint(-3.5), -4);
  EXPECT_EQ(cint(0.5), 0);
  EXPECT_EQ(cint(1.5), 2);
  EXPECT_EQ(cint(2.4999999), 2);
  EXPECT_EQ(cint(2.5000001), 3);
  EXPECT_EQ(clng(4999.5), 5000);
  EXPECT_EQ(clng(4998.5), 4998);
  EXPECT_EQ(clng(-2147483648.0), std::numeric_limits<i32>::min());
  EXPECT_EQ(clng(2147483647.4), std::numeric_limits<i32>::max());
}

TEST(Conversions, IntegerDivisionTruncatesAfterRounding) {
  EXPECT_EQ(idiv(clng(6615 * 3999.0), 4000), 6613);
  EXPECT_EQ(idiv(-7, 2), -3);
  EXPECT_EQ(idiv(7, -2), -3);
  EXPECT_EQ(csng(0.1), 0.1f);
  EXPECT_NE(static_cast<double>(csng(0.1)), 0.1);
}

namespace {
// The conversions as first written, on round_half_even (whose halves are checked above):
// the reference the integer forms must agree with, in range, out of it (a throw, or the
// limit of a saturating form) and on NaN. std::nullopt stands for "throws".
std::optional<long long> reference_checked(double x, double lo, double hi) {
  const double r = round_half_even(x);
  if (!(r >= lo && r <= hi)) return std::nullopt;
  return static_cast<long long>(r);
}
long long reference_saturated(double x, double lo, double hi) {
  if (std::isnan(x)) return 0;
  const double r = round_half_even(x);
  if (r < lo) return static_cast<long long>(lo);
  if (r > hi) return static_cast<long long>(hi);
  return static_cast<long long>(r);
}
template <typename F>
std::optional<long long> outcome(F&& convert) {
  try {
    return static_cast<long long>(convert());
  } catch (const ConversionOverflow&) {
    return std::nullopt;
  }
}
}  // namespace

TEST(Conversions, AgreeWithRoundingHalfToEvenOnEveryKindOfValue) {
  std::vector<double> values = {0.0,
                                -0.0,
                                std::numeric_limits<double>::denorm_min(),
                                -std::numeric_limits<double>::min(),
                                std::nan(""),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::max(),
                                4503599627370496.0,
                                4503599627370497.0,
                                9007199254740993.0,
                                9223372036854775807.0,
                                -9223372036854775808.0,
                                18446744073709551616.0,
                                1e300,
                                -1e300};
  // Halves and near-halves around zero and around each limit.
  for (double base : {0.0, 32767.0, -32768.0, 2147483647.0, -2147483648.0, 65535.0}) {
    for (int k = -3; k <= 3; ++k) {
      for (double off : {0.0, 0.5, -0.5, 0.49999999999, 0.50000000001}) {
        values.push_back(base + k + off);
        values.push_back(-(base + k + off));
      }
    }
  }
  std::mt19937_64 rng(20261206);
  for (int i = 0; i < 20000; ++i) {
    const double magnitude = std::pow(10.0, std::uniform_real_distribution<double>(-3, 12)(rng));
    const double v = std::uniform_real_distribution<double>(-magnitude, magnitude)(rng);
    values.push_back(v);
    values.push_back(std::round(v * 2) / 2);  // an exact half or whole
  }
  for (double x : values) {
    SCOPED_TRACE(x);
    EXPECT_EQ(outcome([&] { return cint(x); }), reference_checked(x, -32768.0, 32767.0));
    EXPECT_EQ(outcome([&] { return clng(x); }), reference_checked(x, -2147483648.0, 2147483647.0));
    EXPECT_EQ(cint_sat(x), reference_saturated(x, -32768.0, 32767.0));
    EXPECT_EQ(clng_sat(x), reference_saturated(x, -2147483648.0, 2147483647.0));
    EXPECT_EQ(cint_or(x, 123), reference_checked(x, -32768.0, 32767.0).value_or(123));
  }
}
