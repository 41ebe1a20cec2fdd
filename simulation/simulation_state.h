// The simulated pendulum's parameter set: the physical values (PendulumParameters), the
// dimensionless ones derived from them, the initial state, the drive phase and the
// transient. The panel is read into one SimParameters (sim_panel), which the run uses and
// which SimulationState keeps for the next reading: a box left empty keeps its value.
#pragma once

#include "simulation/model.h"

namespace kv {

struct SimParameters : PendulumParameters {
  // Derived by derive_values: omega0 = (mgr / inertia)^0.5, the quality factor q, the
  // drive amplitude g and the drive frequency Omega (model.h).
  double omega0 = 0;
  double q_factor = 0, drive_amplitude = 0, drive_frequency = 0;
  double initial_angle = 0;     // radian
  double initial_velocity = 0;  // dimensionless (rad/s divided by omega0)
  double drive_phase = 0;       // radian; shifts the Poincare sampling instant
  double time_out = 0;          // simulation transient, seconds
};

// Sets omega0, q_factor, drive_amplitude and drive_frequency from the physical values.
inline void derive_values(SimParameters& p) {
  const DerivedParameters d = derive(p);
  p.omega0 = d.omega0;
  p.q_factor = d.q_factor;
  p.drive_amplitude = d.drive_amplitude;
  p.drive_frequency = d.drive_frequency;
}

// The pendulum the program starts with: the window load's values (its drive torque,
// 0.000585, not the panel's 0.0005306). The demo box swings it too.
inline PendulumParameters startup_pendulum() {
  PendulumParameters p;
  p.inertia = 9.876E-06;
  p.drive_torque = 0.000585;
  p.damping = 1.7754E-05;
  p.mgr = 0.000798;
  p.drive_omega = 5.8119;
  return p;
}

struct SimulationState : SimParameters {
  double drive_sine_prev = 0;  // drive sine of the previous step, across runs
};

}  // namespace kv
