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
//
// The arithmetic is rk4_step's, written out so that independent sines follow each other:
// the full step and the first half step start from the same state and run side by side,
// and the drive's sines, which depend on the clock alone, fill the gaps where a stage
// waits for the sine before it. Every value is formed by the same operations in the same
// order as in rk4_step, so the results have the same bits; only the order of the calls
// changes, and the processor overlaps the calls that do not wait for each other.
void PendulumModel::advance_step(double& new_time, double& angle, double& velocity, double h) {
  const double om = drive_frequency, q = q_factor, g = drive_amplitude;
  const double hh = h / 2;
  const double tau0 = static_cast<double>(sim_time);
  const double tau1 = static_cast<double>(static_cast<float>(sim_time + hh));

  // The full step (size h) and the first half step (size hh) from (a, v).
  const double a = angle, v = velocity;
  const double sin_a = std::sin(a);
  const double drive_start = sine_reusing(om * tau0, sampled_arg, sampled_sine);
  const double s2_full = std::sin(a + v * (h * 0.5));
  const double s2_half = std::sin(a + v * (hh * 0.5));
  const double full_middle_arg = om * (h * 0.5 + tau0);
  const double drive_full_middle = std::sin(full_middle_arg);
  const double drive_half_middle = std::sin(om * (hh * 0.5 + tau0));
  const double k1_full = h * (g * drive_start + (-v / q - sin_a));
  const double k1_half = hh * (g * drive_start + (-v / q - sin_a));
  const double s3_full = std::sin(a + (v + k1_full / 2) * (h * 0.5));
  const double s3_half = std::sin(a + (v + k1_half / 2) * (hh * 0.5));
  const double drive_full_end = std::sin(om * (tau0 + h));
  const double first_end_arg = om * (tau0 + hh);
  const double drive_half_end = sine_reusing(first_end_arg, full_middle_arg, drive_full_middle);
  const double k2_full = h * (g * drive_full_middle + (-(v + k1_full * 0.5) / q - s2_full));
  const double k2_half = hh * (g * drive_half_middle + (-(v + k1_half * 0.5) / q - s2_half));
  const double s4_full = std::sin(a + (v + k2_full / 2) * h);
  const double s4_half = std::sin(a + (v + k2_half / 2) * hh);
  const double k3_half = hh * (g * drive_half_middle + (-(v + k2_half * 0.5) / q - s3_half));
  const double k4_half =
      static_cast<float>(hh * (g * drive_half_end + (-(v + k3_half) / q - s4_half)));
  const double a1 = a + hh * (v + (k1_half + k2_half + k3_half) / 6);
  const double v1 = v + (k1_half + 2 * k2_half + 2 * k3_half + k4_half) / 6;

  // The second half step from (a1, v1), while the full step's last stages complete.
  const double sin_a1 = std::sin(a1);
  const double s2_second = std::sin(a1 + v1 * (hh * 0.5));
  const double drive_second_start = sine_reusing(om * tau1, first_end_arg, drive_half_end);
  const double drive_second_middle = std::sin(om * (hh * 0.5 + tau1));
  const double k3_full = h * (g * drive_full_middle + (-(v + k2_full * 0.5) / q - s3_full));
  const double k4_full =
      static_cast<float>(h * (g * drive_full_end + (-(v + k3_full) / q - s4_full)));
  coarse_angle = a + h * (v + (k1_full + k2_full + k3_full) / 6);
  coarse_velocity = v + (k1_full + 2 * k2_full + 2 * k3_full + k4_full) / 6;
  const double k1_second = hh * (g * drive_second_start + (-v1 / q - sin_a1));
  const double s3_second = std::sin(a1 + (v1 + k1_second / 2) * (hh * 0.5));
  const double drive_second_end = std::sin(om * (tau1 + hh));
  const double k2_second =
      hh * (g * drive_second_middle + (-(v1 + k1_second * 0.5) / q - s2_second));
  const double s4_second = std::sin(a1 + (v1 + k2_second / 2) * hh);
  const double k3_second =
      hh * (g * drive_second_middle + (-(v1 + k2_second * 0.5) / q - s3_second));
  const double k4_second =
      static_cast<float>(hh * (g * drive_second_end + (-(v1 + k3_second) / q - s4_second)));
  rk_angle = a1 + hh * (v1 + (k1_second + k2_second + k3_second) / 6);
  rk_velocity = v1 + (k1_second + 2 * k2_second + 2 * k3_second + k4_second) / 6;

  sim_time = static_cast<float>(tau1);
  sim_time = static_cast<float>(sim_time + hh);
  angle = rk_angle - (coarse_angle - rk_angle) / 15;
  velocity = rk_velocity - (coarse_velocity - rk_velocity) / 15;
  new_time = sim_time;
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
