// One step of the simulated pendulum as a pure function: the pendulum's state in, a sample
// out. The step advances the model, keeps the angle within one turn while counting the
// turns, and samples the drive for the Poincare section; it draws, stores and writes
// nothing. The run (sim_run) paces the steps and hands each sample to its sinks (the phase
// plot, the save file, the Poincare plot, the print tables) in that order.
#pragma once

#include <cmath>

#include "datafiles/pendulum_units.h"
#include "platform/vb_numeric.h"
#include "simulation/model.h"

namespace kv {

inline constexpr double kWrapPeriod = 6.2831854;
// The simulation's scale: V (see datafiles/pendulum_units.h) per unit of the model's
// dimensionless velocity.
inline constexpr double kVPerModelVelocity = 57.968;

// Keeps the angle in [0, 6.2831854] and counts whole turns in `rollover`: an angle of
// exactly 6.2831854 stays, one above it loses a period, a negative one gains one. The
// angle must be finite and bounded (see kMaxStateMagnitude).
inline void wrap_angle(double& angle, double& rollover) {
  while (angle > kWrapPeriod) {
    rollover += 1;
    angle -= kWrapPeriod;
  }
  while (angle < 0) {
    rollover -= 1;
    angle += kWrapPeriod;
  }
}

// The simulated pendulum between two steps: the model (its single-precision clock and the
// drive sine it keeps), the dimensionless state, the turns made, the drive sine of the
// previous step, and the constants of the run.
struct SimPendulum {
  PendulumModel model;
  double angle = 0, velocity = 0;  // dimensionless state; the angle within one turn
  double rollover = 0;             // whole turns made
  double drive_sine_prev = 0;      // drive sine after the previous step
  double h = 0;                    // step, 2 ms of pendulum time
  double drive_phase = 0;          // radian; shifts the Poincare sampling instant
  double time_out_ms = 0;          // run time up to which nothing is drawn or sampled
};

// Why a step gave no sample.
enum class StepFault : u8 {
  none,
  unstable,     // the angle or velocity became non-finite or absurdly large
  time_frozen,  // the step no longer advanced the single-precision clock
};

// What one step gives the plots, the files and the print tables.
struct SimSample {
  StepFault fault = StepFault::none;  // not none: nothing below is set
  double angle = 0;                   // radian, within [0, 6.2831854]
  double velocity = 0;                // dimensionless
  double velocity_value = 0;          // V, the plots' and files' velocity
  double revolutions = 0;             // whole turns made (the rollover)
  i16 phase_counts = 0;               // the angle in counts, 4000 per revolution
  i64 elapsed_ms = 0;                 // run time of the step
  bool past_time_out = false;         // elapsed_ms lies beyond the time-out
  bool poincare_event = false;        // an upward zero crossing of the shifted drive after
                                      // the time-out: a Poincare point
};

// Advances `p` by one step taken at run time `elapsed_ms`. The drive is sampled after
// every usable step, so a crossing is only seen when the previous step's sine was
// negative; a step with a fault leaves the drive sine and the turns as they were.
inline SimSample sim_step(SimPendulum& p, i64 elapsed_ms) {
  SimSample s;
  const float time_before = p.model.sim_time;
  double time;
  p.model.advance_step(time, p.angle, p.velocity, p.h);
  if (!(std::fabs(p.angle) <= kMaxStateMagnitude && std::fabs(p.velocity) <= kMaxStateMagnitude)) {
    s.fault = StepFault::unstable;
    return s;
  }
  if (p.model.sim_time == time_before) {
    s.fault = StepFault::time_frozen;
    return s;
  }
  s.velocity = p.velocity;
  s.velocity_value = p.velocity * kVPerModelVelocity;
  wrap_angle(p.angle, p.rollover);
  s.angle = p.angle;
  s.revolutions = p.rollover;
  s.phase_counts = cint((p.angle / kSimulationPi) * 2000);
  s.elapsed_ms = elapsed_ms;
  s.past_time_out = elapsed_ms > p.time_out_ms;
  // Poincare sampling at the upward zero crossing of the drive, shifted by the phase.
  const double sine =
      p.model.drive_sine(p.model.drive_frequency * p.model.sim_time - p.drive_phase);
  s.poincare_event = sine > 0 && p.drive_sine_prev < 0 && s.past_time_out;
  p.drive_sine_prev = sine;
  return s;
}

}  // namespace kv
