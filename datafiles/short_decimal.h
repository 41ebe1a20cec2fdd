// The short decimals the program writes in its data files, read in one pass and exactly.
#pragma once

#include <cstdint>

namespace kv {

// The short decimals the program writes ("-12.3456"): an optional sign, at most 15
// digits with an optional point, no exponent. Their digits make an integer that a double
// holds exactly, and so does the power of ten below 1e23; one division of the two is then
// the correctly rounded value, the one std::from_chars gives. False for anything else.
inline bool short_decimal(const char* b, const char* e, double& value) {
  static constexpr double kPowers[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const bool negative = b != e && *b == '-';
  if (b != e && (*b == '-' || *b == '+')) ++b;
  std::uint64_t digits = 0;
  int count = 0, places = -1;
  for (; b != e; ++b) {
    const unsigned d = static_cast<unsigned char>(*b) - '0';
    if (d < 10) {
      digits = digits * 10 + d;
      ++count;
      if (places >= 0) ++places;
    } else if (*b == '.' && places < 0) {
      places = 0;
    } else {
      return false;
    }
  }
  if (count == 0 || count > 15) return false;
  const double v = static_cast<double>(digits);
  value = places > 0 ? v / kPowers[places] : v;
  if (negative) value = -value;
  return true;
}

}  // namespace kv
