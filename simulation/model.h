// The driven, damped pendulum in dimensionless form and its fixed-step RK4 integrator
// with step doubling and Richardson extrapolation:
//   dtheta/dtau = v,  dv/dtau = -v/q - sin(theta) + g sin(Omega tau).
// The time tau is kept in single precision and the fourth velocity increment is rounded
// to single precision, which fixes the trajectory to the bit.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kv {

// Largest angle (radian) or dimensionless velocity a run accepts. Beyond it the numbers no
// longer describe a pendulum (the integrator has blown up), and wrapping such an angle
// into one revolution would take unbounded time.
inline constexpr double kMaxStateMagnitude = 1e6;

// The drive term sin(Omega tau) of one RK4 step at its start, middle and end times.
struct DriveSines {
  double at_start = 0, at_middle = 0, at_end = 0;
};

struct PendulumModel {
  double q_factor = 0;         // q
  double drive_amplitude = 0;  // g
  double drive_frequency = 0;  // Omega
  float sim_time = 0;          // tau
  double rk_angle = 0, rk_velocity = 0;
  double coarse_angle = 0, coarse_velocity = 0;
  double sampled_arg = std::numeric_limits<double>::quiet_NaN(), sampled_sine = 0;

  // One classical RK4 step of size h from (angle, velocity), given the drive's sines at the
  // step's start, middle (h * 0.5 + tau) and end (tau + h) and sin(angle); results in
  // rk_angle and rk_velocity.
  void rk4_step(double angle, double velocity, double h, const DriveSines& drive, double sin_angle);
  // One step of size h: a full step and two half steps, combined by Richardson's rule.
  // Advances sim_time by two single-precision additions of h / 2.
  void advance_step(double& new_time, double& angle, double& velocity, double h);
  // sin(x) for a caller that samples the drive between steps. The value is kept, and the
  // next step starts from it when its first drive argument has the same bits (a run
  // sampling at drive phase 0 computes exactly that argument).
  double drive_sine(double x) {
    if (std::bit_cast<std::uint64_t>(x) != std::bit_cast<std::uint64_t>(sampled_arg)) {
      sampled_arg = x;
      sampled_sine = std::sin(x);
    }
    return sampled_sine;
  }
};

// Pendulum time (tau) at which the single-precision clock stops advancing with steps of
// size h: the first power of two T at which T + h / 2, rounded to single precision, is T.
double frozen_clock_time(double h);

// Poincare points a run can sample before its clock stops: one per drive period 2 pi /
// drive_frequency after the time-out (seconds, times omega0 in pendulum time), rounded
// down; 0 when the drive does not turn.
long long reachable_poincare_points(double h, double drive_frequency, double omega0,
                                    double time_out_seconds);

// Physical parameters (SI units) and the dimensionless values derived from them.
struct PendulumParameters {
  double mgr = 0.000798;
  double inertia = 0.000009876;
  double damping = 0.000017754;
  double drive_torque = 0.0005306;
  double drive_omega = 5.8119;
};

struct DerivedParameters {
  double omega0, q_factor, drive_amplitude, drive_frequency, h;
};

// omega0 = (mgr/I)^0.5, q = (omega0 I)/b, g = ((A/I)/omega0)/omega0, Omega = wD/omega0,
// h = 0.002 omega0 (2 ms of pendulum time per step).
DerivedParameters derive(const PendulumParameters& p);

}  // namespace kv
