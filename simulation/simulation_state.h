// The simulated pendulum's parameter set as the last accepted panel gave it: the physical
// values, the dimensionless ones derived from them, the initial state and the transient.
#pragma once

namespace kv {

struct SimulationState {
  double inertia = 0, mgr = 0, drive_torque = 0, damping = 0, drive_omega = 0;
  double omega0 = 0;
  double q_factor = 0, drive_amplitude = 0, drive_frequency = 0;
  double initial_angle = 0, initial_velocity = 0;
  double time_out = 0;         // simulation transient, seconds
  double drive_sine_prev = 0;  // drive sine of the previous step, across runs
};

}  // namespace kv
