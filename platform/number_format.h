// Text renderings of numbers used in the data files and status texts.
//
// format_pattern renders a value through a digit pattern such as "###.####" or "#0.0###":
// '#' is a digit shown only when significant, '0' a digit always shown, '.' the decimal
// point, which is always written. The value is first taken to 15 significant decimal
// digits, and that decimal is then rounded half away from zero at the pattern's last
// place. A negative value keeps its minus sign even when it rounds to zero ("-0.0").
// Output never depends on the process locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// A digit pattern compiled once: the number of forced integer digits, forced fraction
// digits and the total number of fraction places.
struct NumberPattern {
  int int_zeros = 0;    // '0' digits before the point
  int frac_zeros = 0;   // '0' digits after the point (leading ones)
  int frac_places = 0;  // all digit places after the point
  bool has_point = true;

  static NumberPattern parse(std::string_view pattern);
};

// Writes the rendering into `out` (at least 48 bytes) and returns the number of chars.
std::size_t format_pattern(char* out, double value, const NumberPattern& pattern);
std::string format_pattern(double value, std::string_view pattern);

// General number format with 15 significant digits, as C's "%.15G" prints it
// (shortest of fixed and exponent form, trailing zeros dropped).
std::size_t format_general15(char* out, double value);
std::string format_general15(double value);

// A whole number as the line-print statement writes it: a blank (or '-') before the
// digits and one blank after them, so 1000 gives " 1000 " and -5 gives "-5 ".
std::string format_print_integer(std::int64_t value);

// format_pattern with kPatValue4 ("#0.0###"), the commonest column of the data files,
// written with the pattern's fields known in advance: the same characters, sooner.
std::size_t format_value4(char* out, double value);

// Plain decimal digits of a whole number, '-' when negative.
std::size_t format_integer(char* out, std::int64_t value);

// Common patterns of the data files.
inline const NumberPattern kPatTime = NumberPattern::parse("###.####");
inline const NumberPattern kPatValue4 = NumberPattern::parse("#0.0###");
inline const NumberPattern kPatValue5 = NumberPattern::parse("#0.0####");

}  // namespace kv
