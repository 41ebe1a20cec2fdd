// The lines of the orbit (*.pha) and Poincare (*.poi) files. Each formatter writes into a
// caller's buffer (at least 160 bytes) and returns the length, without CR LF.
#pragma once

#include <cstddef>
#include <cstdint>

#include "datafiles/pendulum_units.h"

namespace kv {

// Orbit data line: time "###.####", phase "#0.0###", velocity "#0.0###", revolutions.
std::size_t format_orbit_line(char* out, double t, double phase, double omega,
                              std::int64_t revolutions);
// The same line for a whole number of milliseconds: the time column is ms / 1000 written
// with "###.####", formed from the integer directly (the decimal is exact, so no rounding
// is involved). Used by the simulation, whose clock counts milliseconds.
std::size_t format_orbit_line_ms(char* out, std::int64_t ms, double phase, double omega,
                                 std::int64_t revolutions);
// Poincare data line of a recording: phase "#0.0####", velocity "#0.0###".
std::size_t format_poincare_line(char* out, double phase, double omega);
// Poincare data line of a simulation: phase in 15-digit general format, velocity "0.0###".
std::size_t format_sim_poincare_line(char* out, double phase, double omega);

// The file phase of an angle count.
inline double phase_of_count(double count) {
  return (count - 2000) / 2000 * kFilePi;
}

}  // namespace kv
