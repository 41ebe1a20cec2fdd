#include "datafiles/data_lines.h"

#include "platform/number_format.h"

namespace kv {

namespace {
// The columns after the time: " phase omega revolutions".
std::size_t append_orbit_fields(char* out, std::size_t n, double phase, double omega,
                                std::int64_t revolutions) {
  out[n++] = ' ';
  n += format_pattern(out + n, phase, kPatValue4);
  out[n++] = ' ';
  n += format_pattern(out + n, omega, kPatValue4);
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
  int frac = static_cast<int>(ms % 1000);
  if (whole > 0) n += format_integer(out, whole);
  out[n++] = '.';
  int places = 3;
  while (places > 0 && frac % 10 == 0) {
    frac /= 10;
    --places;
  }
  for (int k = places - 1; k >= 0; --k) {
    out[n + k] = static_cast<char>('0' + frac % 10);
    frac /= 10;
  }
  n += static_cast<std::size_t>(places);
  return append_orbit_fields(out, n, phase, omega, revolutions);
}

std::size_t format_poincare_line(char* out, double phase, double omega) {
  std::size_t n = format_pattern(out, phase, kPatValue5);
  out[n++] = ' ';
  n += format_pattern(out + n, omega, kPatValue4);
  return n;
}

std::size_t format_sim_poincare_line(char* out, double phase, double omega) {
  std::size_t n = format_general15(out, phase);
  out[n++] = ' ';
  n += format_pattern(out + n, omega, kPatValue4);
  return n;
}

}  // namespace kv
