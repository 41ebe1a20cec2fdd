// Orbit files for the benchmarks: the default pendulum simulated with the program's own
// model and written line by line as the simulation writes them (time, phase, velocity,
// revolutions), so the data is realistic chaotic motion.
#pragma once

#include <string>

#include "datafiles/data_lines.h"
#include "platform/number_format.h"
#include "platform/vb_numeric.h"
#include "simulation/model.h"
#include "simulation/sim_step.h"

namespace kv::bench {

inline std::string simulated_orbit_text(long records) {
  const DerivedParameters d = derive(PendulumParameters{});
  PendulumModel m;
  m.q_factor = d.q_factor;
  m.drive_amplitude = d.drive_amplitude;
  m.drive_frequency = d.drive_frequency;
  double angle = 1.0, velocity = 1.0 / d.omega0, time = 0;
  double rollover = 0;
  std::string text = format_print_integer(records) + "\r\nPHASE\r\n";
  text.reserve(text.size() + static_cast<std::size_t>(records) * 30);
  char line[160];
  for (long i = 0; i < records; ++i) {
    m.advance_step(time, angle, velocity, d.h);
    while (angle > 6.2831854) rollover += 1, angle -= 6.2831854;
    while (angle < 0) rollover -= 1, angle += 6.2831854;
    const double vel_scaled = velocity * kVPerModelVelocity;
    const double elapsed_ms = round_half_even(m.sim_time / d.omega0 * 1000);
    const std::size_t n =
        format_orbit_line(line, elapsed_ms / 1000, angle - kSimulationPi,
                          vel_scaled * kRadPerSecPerV, static_cast<std::int64_t>(rollover));
    text.append(line, n);
    text += "\r\n";
  }
  return text;
}

}  // namespace kv::bench
