// format_pattern, format_value4 and format_integer against independent renderings: the
// value to 15 significant digits by the C library, then rounded half away from zero at the
// pattern's last place by hand; whole numbers by std::to_chars. Random values of every
// magnitude, decimal halves and their neighbours, every four-place value of the files,
// and the edges (zero, the 1e9 limit of the scaled value, 1e18, tiny, huge, non-finite).
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/number_format.h"

using namespace kv;

namespace {

std::string reference(double value, const NumberPattern& p) {
  char buf[64];
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  if (std::fabs(value) >= 1e18) {  // beyond the digit buffer: the general format
    std::snprintf(buf, sizeof buf, "%.15G", value);
    return buf;
  }
  const int places = p.has_point ? p.frac_places : 0;
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
  std::string mant = std::string(1, buf[0]) + std::string(buf + 2, 14);
  const int exp10 = std::atoi(std::strchr(buf, 'e') + 1);
  // Digits with place value 10^(int_len - 1 - k), then one more for the rounding.
  const int int_len = exp10 >= 0 ? exp10 + 1 : 0;
  std::string d;
  for (int k = 0; k <= int_len + places; ++k) {
    const int j = exp10 - (int_len - 1 - k);
    d += (j >= 0 && j < 15) ? mant[j] : '0';
  }
  const bool up = d.back() >= '5';
  d.pop_back();
  if (up) {
    int k = static_cast<int>(d.size()) - 1;
    while (k >= 0 && d[k] == '9') d[k--] = '0';
    if (k >= 0) {
      ++d[k];
    } else {
      d.insert(d.begin(), '1');
    }
  }
  const int ilen = static_cast<int>(d.size()) - places;
  std::string ip = d.substr(0, ilen), fp = d.substr(ilen);
  ip.erase(0,
           ip.find_first_not_of('0') == std::string::npos ? ip.size() : ip.find_first_not_of('0'));
  while (static_cast<int>(ip.size()) < p.int_zeros) ip.insert(ip.begin(), '0');
  while (static_cast<int>(fp.size()) > p.frac_zeros && fp.back() == '0') fp.pop_back();
  const bool negative = std::signbit(value) && value != 0.0;
  return (negative ? "-" : "") + ip + (p.has_point ? "." + fp : "");
}

const char* const kPatterns[] = {
    "###.####", "#0.0###", "#0.0####", "#.###", "#.####", "###.########", "###.#########",
    "0.00",     "#",       "##0",      "00.0#", "0.",     "0.0000000000", "000000000000.0#"};

void expect_reference(double v, const char* text) {
  const NumberPattern p = NumberPattern::parse(text);
  char got[64];
  const std::string want = reference(v, p);
  ASSERT_EQ(std::string(got, format_pattern(got, v, p)), want)
      << text << " value " << std::hexfloat << v << std::defaultfloat << " (" << v << ")";
  if (std::strcmp(text, "#0.0###") == 0) {
    ASSERT_EQ(std::string(got, format_value4(got, v)), want)
        << "format_value4 value " << std::hexfloat << v << std::defaultfloat << " (" << v << ")";
  }
}

}  // namespace

TEST(NumberFormatReference, RandomValuesDecimalHalvesAndTheirNeighbours) {
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> mag(-12, 19), unit(0, 1);
  for (const char* text : kPatterns) {
    const double scale = std::pow(10.0, NumberPattern::parse(text).frac_places);
    for (int i = 0; i < 100000; ++i) {
      double v = std::pow(10.0, mag(rng)) * (unit(rng) < 0.5 ? -1 : 1);
      const double half = (std::floor(v * scale) + 0.5) / scale;
      if (i % 6 == 1) v = half;  // a decimal half at the last place, and its neighbours
      if (i % 6 == 2) v = std::nextafter(half, 0.0);
      if (i % 6 == 3) v = std::nextafter(half, 1e300);
      if (i % 6 == 4) v = std::round(v * 1000) / 1000;  // whole numbers and short decimals
      expect_reference(v, text);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(NumberFormatReference, Edges) {
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
      edges.insert(edges.end(), {v, std::nextafter(v, 0.0), std::nextafter(v, 1e300)});
    }
  }
  for (const char* text : kPatterns) {
    // The scaled value's limit of the fast path, 1e9, from both sides.
    const double unit = std::pow(10.0, -NumberPattern::parse(text).frac_places);
    const double limit = 1e9 * unit;
    std::vector<double> values = edges;
    values.insert(values.end(), {limit, std::nextafter(limit, 0.0), std::nextafter(limit, 1e300),
                                 limit - 0.5 * unit});
    for (double v : values) {
      expect_reference(v, text);
      expect_reference(-v, text);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(NumberFormatReference, EveryFourPlaceValueOfTheFiles) {
  // Every phase and velocity a data file can hold to four places, -7 to 7, and the values
  // halfway between them: the columns the simulation writes most.
  for (int i = -70000; i <= 70000; ++i) {
    for (double v : {i / 10000.0, (i + 0.5) / 10000.0, std::nextafter((i + 0.5) / 10000.0, 0.0)}) {
      expect_reference(v, "#0.0###");
      if (HasFatalFailure()) return;
    }
  }
}

TEST(NumberFormatReference, IntegersAsTheLibraryWritesThem) {
  std::vector<std::int64_t> values = {0,          1,          -1,         9,
                                      10,         -10,        99,         100,
                                      999999999,  -999999999, 1000000000, -1000000000,
                                      1000000001, INT64_MAX,  INT64_MIN,  INT64_MIN + 1,
                                      4294967295, 4294967296, -4294967296};
  // Every power of ten up to 10^18 and its neighbours (the next power would overflow).
  std::int64_t p = 1;
  for (int e = 0; e <= 18; ++e) {
    for (std::int64_t d : {-1LL, 0LL, 1LL}) values.insert(values.end(), {p + d, -(p + d)});
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
