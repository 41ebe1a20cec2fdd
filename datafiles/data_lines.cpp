#include "datafiles/data_lines.h"

#include "platform/number_format.h"

namespace kv {

std::size_t format_orbit_line(char* out, double t, double phase, double omega,
                              std::int64_t revolutions) {
  std::size_t n = format_pattern(out, t, kPatTime);
  out[n++] = ' ';
  n += format_pattern(out + n, phase, kPatValue4);
  out[n++] = ' ';
  n += format_pattern(out + n, omega, kPatValue4);
  out[n++] = ' ';
  n += format_integer(out + n, revolutions);
  return n;
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
