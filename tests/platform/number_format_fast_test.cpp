// format_pattern against an independent rendering: the value to 15 significant digits by
// the C library, then rounded half away from zero at the pattern's last place by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "platform/number_format.h"

using namespace kv;

namespace {

std::string reference(double value, int int_zeros, int frac_zeros, int places) {
  char buf[64];
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
  while (static_cast<int>(ip.size()) < int_zeros) ip.insert(ip.begin(), '0');
  while (static_cast<int>(fp.size()) > frac_zeros && fp.back() == '0') fp.pop_back();
  const bool negative = std::signbit(value) && value != 0.0;
  return (negative ? "-" : "") + ip + "." + fp;
}

}  // namespace

TEST(NumberFormatFast, AgreesWithTheTwoRoundingsOnRandomAndNearHalfValues) {
  struct P {
    const char* text;
    int int_zeros, frac_zeros, places;
  } patterns[] = {{"###.####", 0, 0, 4}, {"#0.0###", 1, 1, 4}, {"#0.0####", 1, 1, 5}};
  std::mt19937_64 rng(12345);
  std::uniform_real_distribution<double> mag(-6, 5), unit(0, 1);
  for (const P& p : patterns) {
    const NumberPattern np = NumberPattern::parse(p.text);
    const double scale = std::pow(10.0, p.places);
    for (int i = 0; i < 200000; ++i) {
      double v = std::pow(10.0, mag(rng)) * (unit(rng) < 0.5 ? -1 : 1);
      if (i % 4 == 1) v = (std::floor(v * scale) + 0.5) / scale;  // a decimal half
      if (i % 4 == 2) v = std::nextafter((std::floor(v * scale) + 0.5) / scale, 0.0);
      char out[64];
      const std::string got(out, format_pattern(out, v, np));
      ASSERT_EQ(got, reference(v, p.int_zeros, p.frac_zeros, p.places))
          << p.text << " " << std::to_string(v);
    }
  }
}
