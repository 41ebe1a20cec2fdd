#include "datafiles/data_lines.h"

#include "platform/number_format.h"

namespace kv {

namespace {
// The columns after the time: " phase omega revolutions".
std::size_t append_orbit_fields(char* out, std::size_t n, double phase, double omega,
                                std::int64_t revolutions) {
  out[n++] = ' ';
  n += format_value4(out + n, phase);
  out[n++] = ' ';
  n += format_value4(out + n, omega);
  out[n++] = ' ';
  n += format_integer(out + n, revolutions);
  return n;
}
}  // namespace

std::size_t format_orbit_line(char* out, double t, double phase, double omega,
                              std::int64_t revolutions) {
  return append_orbit_fields(out, format_pattern(out, t, kPatTime), phase, omega, revolutions);
}

std::size_t format_orbit_line_ms(char* out, std::int64_t ms, double phase, double omega,
                                 std::int64_t revolutions) {
  if (ms < 0 || ms >= 1000000000000LL)  // outside the simple form: the general path
    return format_orbit_line(out, static_cast<double>(ms) / 1000.0, phase, omega, revolutions);
  std::size_t n = 0;
  const std::int64_t whole = ms / 1000;
  const int frac = static_cast<int>(ms % 1000);
  if (whole > 0) n += format_integer(out, whole);
  out[n++] = '.';
  // Three places, the trailing zeros dropped.
  out[n] = static_cast<char>('0' + frac / 100);
  out[n + 1] = static_cast<char>('0' + frac / 10 % 10);
  out[n + 2] = static_cast<char>('0' + frac % 10);
  n += frac % 10 != 0 ? 3 : frac % 100 != 0 ? 2 : frac != 0 ? 1 : 0;
  return append_orbit_fields(out, n, phase, omega, revolutions);
}

std::size_t format_poincare_line(char* out, double phase, double omega) {
  std::size_t n = format_pattern(out, phase, kPatValue5);
  out[n++] = ' ';
  n += format_value4(out + n, omega);
  return n;
}

std::size_t format_sim_poincare_line(char* out, double phase, double omega) {
  std::size_t n = format_general15(out, phase);
  out[n++] = ' ';
  n += format_value4(out + n, omega);
  return n;
}

}  // namespace kv
