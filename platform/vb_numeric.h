// Numeric conventions of the program: fixed-width integers, conversions that round half
// to even, truncating integer division and explicit single-precision rounding.
//
// Every place that turns a real number into a 16- or 32-bit integer goes through these
// functions, so that a point lands on the same pixel and a stored value is the same
// integer on every machine. A conversion out of range never invokes undefined behaviour:
// the checked forms throw ConversionOverflow, the saturating forms clamp.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace kv {

using i16 = std::int16_t;
using i32 = std::int32_t;
using i64 = std::int64_t;
using u8 = std::uint8_t;

// A 16-bit flag: True is -1, False is 0.
using vb_bool = std::int16_t;
inline constexpr vb_bool kTrue = -1;
inline constexpr vb_bool kFalse = 0;

class ConversionOverflow : public std::range_error {
 public:
  explicit ConversionOverflow(const char* what) : std::range_error(what) {}
};

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Adding and removing 2^52 leaves no fraction bits, so the addition itself rounds, in the
// default round-to-nearest-even mode the program never changes. Values of 2^52 or more are
// whole already; NaN and infinities pass through.
inline double round_half_even(double x) {
  constexpr double kTwo52 = 4503599627370496.0;
  const double a = std::fabs(x);
  if (!(a < kTwo52)) return x;
  return std::copysign((a + kTwo52) - kTwo52, x);
}

// The nearest 64-bit integer, halves to even; INT64_MIN for NaN, infinities and values
// beyond the 64-bit range. On x86-64 this is the one conversion instruction, which rounds
// in the current mode: to nearest, halves to even, as round_half_even does. The range
// checks below then work on the integer.
inline std::int64_t nearest_i64(double x) {
#if defined(__x86_64__) || defined(_M_X64)
  return _mm_cvtsd_si64(_mm_set_sd(x));
#else
  const double r = round_half_even(x);
  return r >= -9223372036854775808.0 && r < 9223372036854775808.0
             ? static_cast<std::int64_t>(r)
             : std::numeric_limits<std::int64_t>::min();
#endif
}

// CInt: nearest 16-bit integer, halves to even; throws when out of range or not finite.
inline i16 cint(double x) {
  const std::int64_t r = nearest_i64(x);
  if (!(r >= -32768 && r <= 32767)) throw ConversionOverflow("16-bit integer overflow");
  return static_cast<i16>(r);
}

// CLng: nearest 32-bit integer, halves to even; throws when out of range or not finite.
inline i32 clng(double x) {
  const std::int64_t r = nearest_i64(x);
  if (!(r >= -2147483648LL && r <= 2147483647LL))
    throw ConversionOverflow("32-bit integer overflow");
  return static_cast<i32>(r);
}

// Saturating forms: out-of-range values clamp to the type's limits, NaN gives 0.
inline i16 cint_sat(double x) {
  if (std::isnan(x)) return 0;
  const std::int64_t r = nearest_i64(x);
  if (r < -32768) return x > 0 ? std::numeric_limits<i16>::max() : std::numeric_limits<i16>::min();
  if (r > 32767) return std::numeric_limits<i16>::max();
  return static_cast<i16>(r);
}

inline i32 clng_sat(double x) {
  if (std::isnan(x)) return 0;
  const std::int64_t r = nearest_i64(x);
  if (r < -2147483648LL)
    return x > 0 ? std::numeric_limits<i32>::max() : std::numeric_limits<i32>::min();
  if (r > 2147483647LL) return std::numeric_limits<i32>::max();
  return static_cast<i32>(r);
}

// Conversion of a real to a 16-bit value when it fits, otherwise `fallback`.
inline i16 cint_or(double x, i16 fallback) {
  const std::int64_t r = nearest_i64(x);
  return (r >= -32768 && r <= 32767) ? static_cast<i16>(r) : fallback;
}

// Single-precision rounding, written out so that it is visible where it happens.
inline float csng(double x) {
  return static_cast<float>(x);
}

// Integer division truncating towards zero (the `\` operator). The divisor must not be 0.
inline constexpr i32 idiv(i32 a, i32 b) {
  return a / b;
}

}  // namespace kv
