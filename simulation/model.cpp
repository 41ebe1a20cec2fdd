#include "simulation/model.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace kv {

namespace {

// sin(x), or `known_value` when x has the same bits as `known_arg`: the same bits in give
// the same bits out, so the second call is saved without changing any result.
inline double sine_reusing(double x, double known_arg, double known_value) {
  return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(known_arg) ? known_value
                                                                                    : std::sin(x);
}

}  // namespace

void PendulumModel::rk4_step(double angle, double velocity, double h, const DriveSines& drive,
                             double sin_angle) {
  const double q = q_factor, g = drive_amplitude;
  const double v = velocity;
  const double k1 = h * (g * drive.at_start + (-v / q - sin_angle));
  const double k2 =
      h * (g * drive.at_middle + (-(v + k1 * 0.5) / q - std::sin(angle + v * (h * 0.5))));
  const double k3 = h * (g * drive.at_middle +
                         (-(v + k2 * 0.5) / q - std::sin(angle + (v + k1 / 2) * (h * 0.5))));
  const double k4 = static_cast<float>(
      h * (g * drive.at_end + (-(v + k3) / q - std::sin(angle + (v + k2 / 2) * h))));
  rk_angle = angle + h * (v + (k1 + k2 + k3) / 6);
  rk_velocity = v + (k1 + 2 * k2 + 2 * k3 + k4) / 6;
}

// The three RK4 steps evaluate the drive at seven distinct times at most, and the full
// step and the first half step start from the same angle. Each sine whose argument has the
// same bits as one already taken in this step is reused: the full step's middle time
// h * 0.5 + tau is the first half step's end tau + h / 2, and the second half step starts
// at that time again whenever the single-precision clock holds it exactly.
void PendulumModel::advance_step(double& new_time, double& angle, double& velocity, double h) {
  const double om = drive_frequency;
  const double hh = h / 2;
  const double tau0 = static_cast<double>(sim_time);
  const double sin_angle = std::sin(angle);

  DriveSines full;
  full.at_start = sine_reusing(om * tau0, sampled_arg, sampled_sine);
  const double full_middle_arg = om * (h * 0.5 + tau0);
  full.at_middle = std::sin(full_middle_arg);
  full.at_end = std::sin(om * (tau0 + h));
  rk4_step(angle, velocity, h, full, sin_angle);
  coarse_angle = rk_angle;
  coarse_velocity = rk_velocity;

  DriveSines first;
  first.at_start = full.at_start;
  first.at_middle = std::sin(om * (hh * 0.5 + tau0));
  const double first_end_arg = om * (tau0 + hh);
  first.at_end = sine_reusing(first_end_arg, full_middle_arg, full.at_middle);
  rk4_step(angle, velocity, hh, first, sin_angle);
  angle = rk_angle;
  velocity = rk_velocity;
  sim_time = static_cast<float>(sim_time + hh);

  const double tau1 = static_cast<double>(sim_time);
  DriveSines second;
  second.at_start = sine_reusing(om * tau1, first_end_arg, first.at_end);
  second.at_middle = std::sin(om * (hh * 0.5 + tau1));
  second.at_end = std::sin(om * (tau1 + hh));
  rk4_step(angle, velocity, hh, second, std::sin(angle));
  const double fine_angle = rk_angle, fine_velocity = rk_velocity;
  sim_time = static_cast<float>(sim_time + hh);
  angle = fine_angle - (coarse_angle - fine_angle) / 15;
  velocity = fine_velocity - (coarse_velocity - fine_velocity) / 15;
  new_time = sim_time;
}

double PendulumModel::drive_sine(double x) {
  if (std::bit_cast<std::uint64_t>(x) != std::bit_cast<std::uint64_t>(sampled_arg)) {
    sampled_arg = x;
    sampled_sine = std::sin(x);
  }
  return sampled_sine;
}

double frozen_clock_time(double h) {
  const double hh = h / 2;
  float t = 1.0f;
  while (std::isfinite(t) && static_cast<float>(static_cast<double>(t) + hh) != t) t *= 2;
  return static_cast<double>(t);
}

long long reachable_poincare_points(double h, double drive_frequency, double omega0,
                                    double time_out_seconds) {
  const double span = frozen_clock_time(h) - time_out_seconds * omega0;
  const double periods = span * std::fabs(drive_frequency) / (2 * 3.141592653589793);
  if (!(periods > 0)) return 0;
  return periods >= 9e18 ? static_cast<long long>(9e18) : static_cast<long long>(periods);
}

DerivedParameters derive(const PendulumParameters& p) {
  DerivedParameters d{};
  d.omega0 = std::pow(p.mgr / p.inertia, 0.5);
  d.q_factor = (d.omega0 * p.inertia) / p.damping;
  d.drive_amplitude = ((p.drive_torque / p.inertia) / d.omega0) / d.omega0;
  d.drive_frequency = p.drive_omega / d.omega0;
  d.h = 0.002 * d.omega0;
  return d;
}

}  // namespace kv
