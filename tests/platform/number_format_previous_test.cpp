// The digit patterns' fast path against the implementation it replaced, kept here
// verbatim as the reference: every rendering must be the same, byte for byte, on random
// values of every magnitude the files hold, on decimal halves and their neighbours, and
// on the edges of the fast path (zero, the 1e9 limit of the scaled value, 1e18, tiny and
// non-finite values).
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/number_format.h"

namespace previous {

using kv::format_general15;
using kv::NumberPattern;

// The previous implementation, unchanged.
struct Decimal15 {
  char digits[16];
  int exp10;
};

bool to_decimal15(double a, Decimal15& d) {
  char buf[40];
  auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
  if (res.ec != std::errc()) return false;
  // Form: d.dddddddddddddde[+-]XX
  d.digits[0] = buf[0];
  std::memcpy(d.digits + 1, buf + 2, 14);
  d.digits[15] = 0;
  const char* e = buf + 16;  // 'e'
  int ex = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), res.ptr, ex);
  d.exp10 = ex;
  return true;
}

// Fast form of format_pattern for moderate values. With r = |value| * 10^places below 1e9,
// the rounding to 15 significant digits and the error of the product move r by less than
// 1e-5, so unless r lies that close to a half, rounding r to the nearest whole number gives
// the same digits as the two roundings of the exact decimal. Returns false when the value
// has to take the exact way.
bool format_pattern_fast(char* out, double a, bool negative, const NumberPattern& p,
                         std::size_t& length) {
  static constexpr std::uint32_t kPow10[] = {1,      10,      100,      1000,      10000,
                                             100000, 1000000, 10000000, 100000000, 1000000000};
  if (p.frac_places > 9) return false;
  const double r = a * static_cast<double>(kPow10[p.frac_places]);
  if (!(r < 1e9)) return false;
  const double whole = std::floor(r);
  const double frac = r - whole;
  if (std::fabs(frac - 0.5) < 1e-5) return false;
  const std::uint32_t n = static_cast<std::uint32_t>(whole) + (frac > 0.5 ? 1 : 0);
  std::uint32_t int_part, frac_part;
  switch (p.frac_places) {  // constant divisors compile to multiplications
    case 4:
      int_part = n / 10000, frac_part = n % 10000;
      break;
    case 5:
      int_part = n / 100000, frac_part = n % 100000;
      break;
    default:
      int_part = n / kPow10[p.frac_places], frac_part = n % kPow10[p.frac_places];
  }

  char* o = out;
  if (negative) *o++ = '-';
  char digits[12];
  int nd = 0;
  for (std::uint32_t v = int_part; v != 0; v /= 10) digits[nd++] = static_cast<char>('0' + v % 10);
  for (int z = nd; z < p.int_zeros; ++z) *o++ = '0';
  while (nd > 0) *o++ = digits[--nd];
  if (p.has_point) {
    *o++ = '.';
    int places = p.frac_places;
    while (places > p.frac_zeros && frac_part % 10 == 0) {
      frac_part /= 10;
      --places;
    }
    for (int k = places - 1; k >= 0; --k) {
      o[k] = static_cast<char>('0' + frac_part % 10);
      frac_part /= 10;
    }
    o += places;
  }
  length = static_cast<std::size_t>(o - out);
  return true;
}

std::size_t format_pattern(char* out, double value, const NumberPattern& p) {
  char* o = out;
  if (std::isnan(value) || std::isinf(value)) {
    const char* s = std::isnan(value) ? "NaN" : (value > 0 ? "Inf" : "-Inf");
    std::size_t n = std::strlen(s);
    std::memcpy(out, s, n);
    return n;
  }
  bool negative = std::signbit(value) && value != 0.0;
  // Digit buffer holding the integer part followed by frac_places fraction digits.
  // Values up to 1e300 would need long buffers; the data files never hold those, so
  // anything beyond 1e18 is written in general format instead.
  double a = std::fabs(value);
  if (a >= 1e18) return format_general15(out, value);
  if (std::size_t n; a != 0.0 && format_pattern_fast(out, a, negative, p, n)) return n;

  char digits[64];  // integer digits then fraction digits
  int int_len = 0;
  int total = 0;
  if (a == 0.0) {
    int_len = 0;
    total = p.frac_places;
    std::memset(digits, '0', static_cast<std::size_t>(total));
  } else {
    Decimal15 d;
    to_decimal15(a, d);
    // Position of digit i (0-based) relative to the point: the first digit has weight
    // 10^exp10. Integer digits exist when exp10 >= 0.
    int_len = d.exp10 >= 0 ? d.exp10 + 1 : 0;
    total = int_len + p.frac_places;
    // Fill digits[k] for k in [0, total): place value 10^(int_len - 1 - k).
    // Digit index into d.digits: j = k - (int_len - 1 - exp10) ... derive from weights.
    // weight of d.digits[j] is exp10 - j; weight of slot k is int_len - 1 - k.
    int round_digit = 0;  // digit right after the last kept place
    for (int k = 0; k <= total; ++k) {
      int weight = int_len - 1 - k;
      int j = d.exp10 - weight;
      char c = (j >= 0 && j < 15) ? d.digits[j] : '0';
      if (k < total) {
        digits[k] = c;
      } else {
        round_digit = c - '0';
      }
    }
    if (round_digit >= 5) {
      int k = total - 1;
      while (k >= 0 && digits[k] == '9') {
        digits[k] = '0';
        --k;
      }
      if (k >= 0) {
        ++digits[k];
      } else {
        // Carry out of the leading digit: one more integer digit.
        std::memmove(digits + 1, digits, static_cast<std::size_t>(total));
        digits[0] = '1';
        ++int_len;
        ++total;
      }
    }
  }
  if (negative) *o++ = '-';
  // Integer part: drop leading zeros, then pad to the forced '0' count.
  int first = 0;
  while (first < int_len && digits[first] == '0') ++first;
  int shown = int_len - first;
  for (int z = shown; z < p.int_zeros; ++z) *o++ = '0';
  for (int k = first; k < int_len; ++k) *o++ = digits[k];
  if (p.has_point) {
    *o++ = '.';
    int last = total;  // one past the last fraction digit to show
    while (last > int_len + p.frac_zeros && digits[last - 1] == '0') --last;
    for (int k = int_len; k < last; ++k) *o++ = digits[k];
  }
  return static_cast<std::size_t>(o - out);
}

}  // namespace previous

using namespace kv;

namespace {

const char* const kPatterns[] = {
    "###.####", "#0.0###", "#0.0####", "#.###", "#.####", "###.########", "###.#########",
    "0.00",     "#",       "##0",      "00.0#", "0.",     "0.0000000000", "000000000000.0#"};

void expect_same(double v, const NumberPattern& p, const char* text) {
  char got[64], want[64];
  const std::size_t n = format_pattern(got, v, p);
  const std::size_t m = previous::format_pattern(want, v, p);
  ASSERT_EQ(std::string(got, n), std::string(want, m))
      << text << " value " << std::hexfloat << v << std::defaultfloat << " (" << v << ")";
  if (std::strcmp(text, "#0.0###") == 0) {
    const std::size_t k = format_value4(got, v);
    ASSERT_EQ(std::string(got, k), std::string(want, m))
        << "format_value4 value " << std::hexfloat << v << std::defaultfloat << " (" << v << ")";
  }
}

}  // namespace

TEST(NumberFormatPrevious, SameDigitsAsBeforeOnRandomValues) {
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> mag(-12, 19), unit(0, 1);
  for (const char* text : kPatterns) {
    const NumberPattern p = NumberPattern::parse(text);
    const double scale = std::pow(10.0, p.frac_places);
    for (int i = 0; i < 100000; ++i) {
      double v = std::pow(10.0, mag(rng)) * (unit(rng) < 0.5 ? -1 : 1);
      switch (i % 6) {
        case 1:  // a decimal half at the last place, and its neighbours
          v = (std::floor(v * scale) + 0.5) / scale;
          break;
        case 2:
          v = std::nextafter((std::floor(v * scale) + 0.5) / scale, 0.0);
          break;
        case 3:
          v = std::nextafter((std::floor(v * scale) + 0.5) / scale, 1e300);
          break;
        case 4:  // whole numbers and short decimals
          v = std::round(v * 1000) / 1000;
          break;
        default:
          break;
      }
      expect_same(v, p, text);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(NumberFormatPrevious, SameDigitsAsBeforeOnTheEdges) {
  std::vector<double> edges = {0.0,
                               -0.0,
                               std::numeric_limits<double>::denorm_min(),
                               std::numeric_limits<double>::min(),
                               std::numeric_limits<double>::epsilon(),
                               std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(),
                               1e18,
                               1e17,
                               999999999.5,
                               3.14159,
                               3.1415927,
                               6.2831854,
                               0.1569673};
  for (double p10 = 1e-12; p10 < 1e19; p10 *= 10) {
    for (double m : {1.0, 0.5, 0.05, 0.95, 9.5, 9.9999, 0.99999, 0.999995, 0.9999995}) {
      const double v = p10 * m;
      edges.push_back(v);
      edges.push_back(std::nextafter(v, 0.0));
      edges.push_back(std::nextafter(v, 1e300));
    }
  }
  for (const char* text : kPatterns) {
    const NumberPattern p = NumberPattern::parse(text);
    // The scaled value's limit of the fast path, 1e9, from both sides.
    const double limit = 1e9 / std::pow(10.0, p.frac_places);
    for (double v : {limit, std::nextafter(limit, 0.0), std::nextafter(limit, 1e300),
                     limit - 0.5 / std::pow(10.0, p.frac_places)})
      edges.push_back(v);
    for (double v : edges) {
      expect_same(v, p, text);
      expect_same(-v, p, text);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(NumberFormatPrevious, SameDigitsAsBeforeOnEveryFourPlaceValueOfTheFiles) {
  // Every phase and velocity a data file can hold to four places, -7 to 7, and the values
  // halfway between them: the columns the simulation writes most.
  const NumberPattern p = kPatValue4;
  for (int i = -70000; i <= 70000; ++i) {
    for (double v : {i / 10000.0, (i + 0.5) / 10000.0, std::nextafter((i + 0.5) / 10000.0, 0.0)}) {
      expect_same(v, p, "#0.0###");
      if (HasFatalFailure()) return;
    }
  }
}

TEST(NumberFormatPrevious, IntegersAsTheLibraryWritesThem) {
  // format_integer writes numbers of up to nine digits itself: the same characters as
  // std::to_chars, which it used for every number before.
  std::vector<std::int64_t> values = {0,          1,          -1,         9,
                                      10,         -10,        99,         100,
                                      999999999,  -999999999, 1000000000, -1000000000,
                                      1000000001, INT64_MAX,  INT64_MIN,  INT64_MIN + 1,
                                      4294967295, 4294967296, -4294967296};
  // Every power of ten up to 10^18 and its neighbours (the next power would overflow).
  std::int64_t p = 1;
  for (int e = 0; e <= 18; ++e) {
    for (std::int64_t d : {-1LL, 0LL, 1LL}) {
      values.push_back(p + d);
      values.push_back(-(p + d));
    }
    if (e < 18) p *= 10;
  }
  std::mt19937_64 rng(99);
  for (int i = 0; i < 200000; ++i) {
    const int bits = static_cast<int>(rng() % 63);
    const std::int64_t v = static_cast<std::int64_t>(rng() >> (63 - bits));
    values.push_back(i % 2 == 0 ? v : -v);
  }
  for (std::int64_t v : values) {
    char got[32], want[32];
    const std::size_t n = format_integer(got, v);
    const auto r = std::to_chars(want, want + sizeof want, v);
    ASSERT_EQ(std::string(got, n), std::string(want, r.ptr)) << v;
  }
}
