#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

TEST(Conversions, OutOfRangeIsDefined) {
  EXPECT_THROW(cint(32767.5), ConversionOverflow);  // rounds to 32768
  EXPECT_EQ(cint(32766.5), 32766);
  EXPECT_THROW(cint(-32768.6), ConversionOverflow);
  EXPECT_THROW(clng(2147483647.5), ConversionOverflow);
  EXPECT_THROW(clng(std::nan("")), ConversionOverflow);
  EXPECT_THROW(cint(std::numeric_limits<double>::infinity()), ConversionOverflow);
  EXPECT_EQ(cint_sat(1e9), 32767);
  EXPECT_EQ(cint_sat(-1e9), -32768);
  EXPECT_EQ(clng_sat(1e300), std::numeric_limits<i32>::max());
  EXPECT_EQ(clng_sat(-std::numeric_limits<double>::infinity()), std::numeric_limits<i32>::min());
  EXPECT_EQ(clng_sat(std::nan("")), 0);
  EXPECT_EQ(cint_or(40000.0, 0), 0);
  EXPECT_EQ(cint_or(-32768.4, 0), -32768);
}

TEST(Conversions, IntegerDivisionTruncatesAfterRounding) {
  EXPECT_EQ(idiv(clng(6615 * 3999.0), 4000), 6613);
  EXPECT_EQ(idiv(-7, 2), -3);
  EXPECT_EQ(idiv(7, -2), -3);
  EXPECT_EQ(csng(0.1), 0.1f);
  EXPECT_NE(static_cast<double>(csng(0.1)), 0.1);
}
