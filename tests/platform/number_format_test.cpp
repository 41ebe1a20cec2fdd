#include <gtest/gtest.h>

#include <clocale>

#include "platform/number_format.h"

using namespace kv;

TEST(NumberPatterns, ExamplesOfTheDataFiles) {
  EXPECT_EQ(format_pattern(12.34567, "###.####"), "12.3457");
  EXPECT_EQ(format_pattern(0.5, "###.####"), ".5");
  EXPECT_EQ(format_pattern(3, "###.####"), "3.");
  EXPECT_EQ(format_pattern(0, "#0.0###"), "0.0");
  EXPECT_EQ(format_pattern(-1.234567, "#0.0###"), "-1.2346");
  EXPECT_EQ(format_pattern(2.5, "#0.0###"), "2.5");
  EXPECT_EQ(format_pattern(1.2345678, "#0.0####"), "1.23457");
  EXPECT_EQ(format_pattern(4.56781, "#0.0###"), "4.5678");
  EXPECT_EQ(format_pattern(-4.56781, "#0.0###"), "-4.5678");
  EXPECT_EQ(format_pattern(0.4567, "#.###"), ".457");
  EXPECT_EQ(format_pattern(1.5, "#.###"), "1.5");
  EXPECT_EQ(format_pattern(1.0 / 73.728, "###.########"), ".01356337");
  EXPECT_EQ(format_pattern(512 / 73.728, "###.########"), "6.94444444");
  EXPECT_EQ(format_pattern(0.5, "###.#########"), ".5");
}

TEST(NumberPatterns, RoundsTheFifteenDigitDecimalHalfAwayFromZero) {
  EXPECT_EQ(format_pattern(0.244140625, "###.########"), ".24414063");
  EXPECT_EQ(format_pattern(0.00005, "###.####"), ".0001");
  EXPECT_EQ(format_pattern(-0.00005, "###.####"), "-.0001");
  EXPECT_EQ(format_pattern(2.00025, "#0.0###"), "2.0003");  // binary 2.000249999... -> 15 digits
  EXPECT_EQ(format_pattern(-0.00001, "#0.0###"), "-0.0");   // keeps the minus sign
  EXPECT_EQ(format_pattern(9.99996, "#0.0###"), "10.0");    // carry into a new digit
  EXPECT_EQ(format_pattern(0.99999, "###.####"), "1.");
  EXPECT_EQ(format_pattern(123456.7, "###.####"), "123456.7");
  EXPECT_EQ(format_pattern(0.002, "###.####"), ".002");
}

TEST(NumberPatterns, IndependentOfTheLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  std::string saved = old ? old : "C";
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) std::setlocale(LC_ALL, "C.UTF-8");
  EXPECT_EQ(format_pattern(-1.234567, "#0.0###"), "-1.2346");
  EXPECT_EQ(format_general15(0.5), "0.5");
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(GeneralFormat, FifteenSignificantDigitsLikePercentG) {
  EXPECT_EQ(format_general15(-3.14159), "-3.14159");
  EXPECT_EQ(format_general15(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(format_general15(0.1 + 0.2), "0.3");
  EXPECT_EQ(format_general15(0), "0");
  EXPECT_EQ(format_general15(2.5e-5), "2.5E-05");
  EXPECT_EQ(format_general15(0.0001), "0.0001");
  EXPECT_EQ(format_general15(1e15), "1E+15");
  EXPECT_EQ(format_general15(123456789012345.0), "123456789012345");
  char buf[64];
  for (double v : {-2.718281828459045, 3.0000000000000004, 1.23456789e-3, 987654.321}) {
    std::snprintf(buf, sizeof buf, "%.15G", v);
    EXPECT_EQ(format_general15(v), buf) << v;
  }
}

TEST(PrintInteger, BlankBeforeAndAfter) {
  EXPECT_EQ(format_print_integer(1000), " 1000 ");
  EXPECT_EQ(format_print_integer(-5), "-5 ");
  EXPECT_EQ(format_print_integer(0), " 0 ");
}
