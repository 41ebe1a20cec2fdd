#include "platform/number_format.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace kv {

NumberPattern NumberPattern::parse(std::string_view pattern) {
  NumberPattern p;
  std::size_t dot = pattern.find('.');
  p.has_point = dot != std::string_view::npos;
  std::string_view ip = pattern.substr(0, dot);
  for (char c : ip)
    if (c == '0') ++p.int_zeros;
  if (p.has_point) {
    std::string_view fp = pattern.substr(dot + 1);
    bool leading = true;
    for (char c : fp) {
      if (c != '0' && c != '#') continue;
      ++p.frac_places;
      if (c == '0' && leading) {
        ++p.frac_zeros;
      } else {
        leading = false;
      }
    }
  }
  return p;
}

namespace {

// Decimal digits of |value| to 15 significant places: digits[0..15) and the decimal
// exponent of the first digit (value = 0.d1d2... * 10^(exp10 + 1)).
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

// "00" "01" ... "99": two decimal digits at a time.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the `count` low decimal digits of v (leading zeros included) at o.
inline void write_digits(char* o, std::uint32_t v, int count) {
  while (count >= 2) {
    count -= 2;
    std::memcpy(o + count, kDigitPairs + 2 * (v % 100), 2);
    v /= 100;
  }
  if (count == 1) *o = static_cast<char>('0' + v % 10);
}

// Number of decimal digits of v (0 for 0).
inline int decimal_digits(std::uint32_t v) {
  int n = 0;
  for (; v >= 100; v /= 100) n += 2;
  return v >= 10 ? n + 2 : v != 0 ? n + 1 : n;
}

// Fast form of format_pattern for moderate values. With r = |value| * 10^places below 1e9,
// the rounding to 15 significant digits and the error of the product move r by less than
// 1e-5, so unless r lies that close to a half, rounding r to the nearest whole number gives
// the same digits as the two roundings of the exact decimal. Returns false when the value
// has to take the exact way.
[[gnu::always_inline]] inline bool format_pattern_fast(char* out, double a, bool negative,
                                                       const NumberPattern& p,
                                                       std::size_t& length) {
  static constexpr std::uint32_t kPow10[] = {1,      10,      100,      1000,      10000,
                                             100000, 1000000, 10000000, 100000000, 1000000000};
  if (p.frac_places > 9) return false;
  const double r = a * static_cast<double>(kPow10[p.frac_places]);
  if (!(r < 1e9)) return false;
  // 0 <= r < 1e9: the truncation is the floor.
  const std::uint32_t whole = static_cast<std::uint32_t>(r);
  const double frac = r - static_cast<double>(whole);
  if (std::fabs(frac - 0.5) < 1e-5) return false;
  const std::uint32_t n = whole + (frac > 0.5 ? 1 : 0);
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
  *o = '-';
  o += negative ? 1 : 0;
  if (int_part < 10 && p.int_zeros <= 1) {  // the usual case: one digit or none
    *o = static_cast<char>('0' + int_part);
    o += int_part != 0 || p.int_zeros != 0 ? 1 : 0;
  } else {
    const int nd = decimal_digits(int_part);
    const int shown = nd > p.int_zeros ? nd : p.int_zeros;
    write_digits(o, int_part, shown);
    o += shown;
  }
  if (p.has_point) {
    *o++ = '.';
    int places = p.frac_places;
    if (places == 4) {
      std::memcpy(o, kDigitPairs + 2 * (frac_part / 100), 2);
      std::memcpy(o + 2, kDigitPairs + 2 * (frac_part % 100), 2);
    } else {
      write_digits(o, frac_part, places);
    }
    while (places > p.frac_zeros && o[places - 1] == '0') --places;
    o += places;
  }
  length = static_cast<std::size_t>(o - out);
  return true;
}

}  // namespace

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

std::string format_pattern(double value, std::string_view pattern) {
  char buf[64];
  std::size_t n = format_pattern(buf, value, NumberPattern::parse(pattern));
  return std::string(buf, n);
}

std::size_t format_general15(char* out, double value) {
  if (std::isnan(value)) {
    std::memcpy(out, "NaN", 3);
    return 3;
  }
  if (value == 0.0) {
    out[0] = '0';
    return 1;
  }
  if (std::isinf(value)) {
    const char* s = value > 0 ? "Inf" : "-Inf";
    std::size_t n = std::strlen(s);
    std::memcpy(out, s, n);
    return n;
  }
  Decimal15 d;
  char* o = out;
  if (value < 0) *o++ = '-';
  to_decimal15(std::fabs(value), d);
  int sig = 15;
  while (sig > 1 && d.digits[sig - 1] == '0') --sig;
  int x = d.exp10;
  if (x < -4 || x >= 15) {
    // Exponent form: d.ddddE+XX
    *o++ = d.digits[0];
    if (sig > 1) {
      *o++ = '.';
      for (int j = 1; j < sig; ++j) *o++ = d.digits[j];
    }
    *o++ = 'E';
    *o++ = x < 0 ? '-' : '+';
    int ax = x < 0 ? -x : x;
    if (ax < 10) *o++ = '0';
    auto r = std::to_chars(o, o + 8, ax);
    o = r.ptr;
  } else if (x >= 0) {
    for (int j = 0; j <= x; ++j) *o++ = j < sig ? d.digits[j] : '0';
    if (sig > x + 1) {
      *o++ = '.';
      for (int j = x + 1; j < sig; ++j) *o++ = d.digits[j];
    }
  } else {
    *o++ = '0';
    *o++ = '.';
    for (int z = 0; z < -x - 1; ++z) *o++ = '0';
    for (int j = 0; j < sig; ++j) *o++ = d.digits[j];
  }
  return static_cast<std::size_t>(o - out);
}

std::string format_general15(double value) {
  char buf[64];
  return std::string(buf, format_general15(buf, value));
}

std::size_t format_value4(char* out, double value) {
  // format_pattern_fast written out for one digit forced before the point and after it
  // and four places: below 1e5 the scaled value stays under its limit (NaN fails the test).
  // r is taken in fixed point with 16 fraction bits (r * 2^16 is exact and below 2^46), so
  // one conversion gives its whole part and its fraction in 65536ths. Fractions of 32767
  // and 32768 65536ths lie within 1.6e-5 of a half and hold every fraction within 1e-5 of
  // it: only those take the exact way.
  const double a = std::fabs(value);
  if (a != 0.0 && a < 1e5) {
    const double r = a * 10000.0;
    const std::uint64_t fixed = static_cast<std::uint64_t>(static_cast<std::int64_t>(r * 65536.0));
    const std::uint32_t frac_bits = static_cast<std::uint32_t>(fixed & 0xFFFF);
    if (frac_bits - 32767u >= 2u) {
      const std::uint32_t n = static_cast<std::uint32_t>(fixed >> 16) + (frac_bits > 32768 ? 1 : 0);
      const std::uint32_t int_part = n / 10000, frac_part = n % 10000;
      char* o = out;
      *o = '-';
      o += std::signbit(value) ? 1 : 0;
      if (int_part < 10) {
        *o++ = static_cast<char>('0' + int_part);
      } else {
        const int nd = decimal_digits(int_part);
        write_digits(o, int_part, nd);
        o += nd;
      }
      *o++ = '.';
      std::memcpy(o, kDigitPairs + 2 * (frac_part / 100), 2);
      std::memcpy(o + 2, kDigitPairs + 2 * (frac_part % 100), 2);
      // Trailing zeros dropped, one place kept.
      const int places =
          frac_part % 100 != 0 ? (frac_part % 10 != 0 ? 4 : 3) : (frac_part % 1000 != 0 ? 2 : 1);
      return static_cast<std::size_t>(o + places - out);
    }
  }
  return format_pattern(out, value, kPatValue4);
}

std::size_t format_integer(char* out, std::int64_t value) {
  if (value > -1000000000 && value < 1000000000) {  // the usual sizes, in 32 bits
    char* o = out;
    *o = '-';
    o += value < 0 ? 1 : 0;
    const std::uint32_t v = static_cast<std::uint32_t>(value < 0 ? -value : value);
    if (v < 10) {
      *o = static_cast<char>('0' + v);
      return static_cast<std::size_t>(o + 1 - out);
    }
    if (v < 100) {
      std::memcpy(o, kDigitPairs + 2 * v, 2);
      return static_cast<std::size_t>(o + 2 - out);
    }
    const int nd = decimal_digits(v);
    write_digits(o, v, nd);
    return static_cast<std::size_t>(o + nd - out);
  }
  auto r = std::to_chars(out, out + 24, value);
  return static_cast<std::size_t>(r.ptr - out);
}

std::string format_print_integer(std::int64_t value) {
  char buf[32];
  std::size_t n = 0;
  if (value >= 0) buf[n++] = ' ';
  n += format_integer(buf + n, value);
  buf[n++] = ' ';
  return std::string(buf, n);
}

}  // namespace kv
