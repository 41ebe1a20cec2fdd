#include "sweep/tangent_step.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace kv {

namespace {

inline double sine_reusing(double x, double known_arg, double known_value) {
  return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(known_arg) ? known_value
                                                                                    : std::sin(x);
}

// The cosines of the four stage angles of one Runge-Kutta step.
struct StageCosines {
  double c1, c2, c3, c4;
};

// One classical Runge-Kutta step of size hs for a tangent vector, the stages' angles
// given by their cosines.
inline Tangent tangent_rk4(const Tangent& t, double hs, double q, const StageCosines& c) {
  const double da = t.angle, dv = t.velocity;
  const double k1 = hs * (-dv / q - c.c1 * da);
  const double dv2 = dv + k1 * 0.5;
  const double k2 = hs * (-dv2 / q - c.c2 * (da + dv * (hs * 0.5)));
  const double dv3 = dv + k2 * 0.5;
  const double k3 = hs * (-dv3 / q - c.c3 * (da + dv2 * (hs * 0.5)));
  const double k4 = hs * (-(dv + k3) / q - c.c4 * (da + dv3 * hs));
  return {da + hs * (dv + (k1 + k2 + k3) / 6), dv + (k1 + 2 * k2 + 2 * k3 + k4) / 6};
}

}  // namespace

// The pendulum's part is PendulumModel::advance_step's arithmetic, operation for
// operation, so that angle, velocity and clock come out with the same bits; the stage
// angles it forms are kept for their cosines.
void advance_with_tangents(PendulumModel& m, double& new_time, double& angle, double& velocity,
                           double h, Tangent* t, int n) {
  const double om = m.drive_frequency, q = m.q_factor, g = m.drive_amplitude;
  const double hh = h / 2;
  const double tau0 = static_cast<double>(m.sim_time);
  const double tau1 = static_cast<double>(static_cast<float>(m.sim_time + hh));

  const double a = angle, v = velocity;
  const double sin_a = std::sin(a);
  const double drive_start = sine_reusing(om * tau0, m.sampled_arg, m.sampled_sine);
  const double arg2_full = a + v * (h * 0.5);
  const double arg2_half = a + v * (hh * 0.5);
  const double s2_full = std::sin(arg2_full);
  const double s2_half = std::sin(arg2_half);
  const double full_middle_arg = om * (h * 0.5 + tau0);
  const double drive_full_middle = std::sin(full_middle_arg);
  const double drive_half_middle = std::sin(om * (hh * 0.5 + tau0));
  const double k1_full = h * (g * drive_start + (-v / q - sin_a));
  const double k1_half = hh * (g * drive_start + (-v / q - sin_a));
  const double arg3_full = a + (v + k1_full / 2) * (h * 0.5);
  const double arg3_half = a + (v + k1_half / 2) * (hh * 0.5);
  const double s3_full = std::sin(arg3_full);
  const double s3_half = std::sin(arg3_half);
  const double drive_full_end = std::sin(om * (tau0 + h));
  const double first_end_arg = om * (tau0 + hh);
  const double drive_half_end = sine_reusing(first_end_arg, full_middle_arg, drive_full_middle);
  const double k2_full = h * (g * drive_full_middle + (-(v + k1_full * 0.5) / q - s2_full));
  const double k2_half = hh * (g * drive_half_middle + (-(v + k1_half * 0.5) / q - s2_half));
  const double arg4_full = a + (v + k2_full / 2) * h;
  const double arg4_half = a + (v + k2_half / 2) * hh;
  const double s4_full = std::sin(arg4_full);
  const double s4_half = std::sin(arg4_half);
  const double k3_half = hh * (g * drive_half_middle + (-(v + k2_half * 0.5) / q - s3_half));
  const double k4_half =
      static_cast<float>(hh * (g * drive_half_end + (-(v + k3_half) / q - s4_half)));
  const double a1 = a + hh * (v + (k1_half + k2_half + k3_half) / 6);
  const double v1 = v + (k1_half + 2 * k2_half + 2 * k3_half + k4_half) / 6;

  const double sin_a1 = std::sin(a1);
  const double arg2_second = a1 + v1 * (hh * 0.5);
  const double s2_second = std::sin(arg2_second);
  const double drive_second_start = sine_reusing(om * tau1, first_end_arg, drive_half_end);
  const double drive_second_middle = std::sin(om * (hh * 0.5 + tau1));
  const double k3_full = h * (g * drive_full_middle + (-(v + k2_full * 0.5) / q - s3_full));
  const double k4_full =
      static_cast<float>(h * (g * drive_full_end + (-(v + k3_full) / q - s4_full)));
  m.coarse_angle = a + h * (v + (k1_full + k2_full + k3_full) / 6);
  m.coarse_velocity = v + (k1_full + 2 * k2_full + 2 * k3_full + k4_full) / 6;
  const double k1_second = hh * (g * drive_second_start + (-v1 / q - sin_a1));
  const double arg3_second = a1 + (v1 + k1_second / 2) * (hh * 0.5);
  const double s3_second = std::sin(arg3_second);
  const double drive_second_end = std::sin(om * (tau1 + hh));
  const double k2_second =
      hh * (g * drive_second_middle + (-(v1 + k1_second * 0.5) / q - s2_second));
  const double arg4_second = a1 + (v1 + k2_second / 2) * hh;
  const double s4_second = std::sin(arg4_second);
  const double k3_second =
      hh * (g * drive_second_middle + (-(v1 + k2_second * 0.5) / q - s3_second));
  const double k4_second =
      static_cast<float>(hh * (g * drive_second_end + (-(v1 + k3_second) / q - s4_second)));
  m.rk_angle = a1 + hh * (v1 + (k1_second + k2_second + k3_second) / 6);
  m.rk_velocity = v1 + (k1_second + 2 * k2_second + 2 * k3_second + k4_second) / 6;

  m.sim_time = static_cast<float>(tau1);
  m.sim_time = static_cast<float>(m.sim_time + hh);
  angle = m.rk_angle - (m.coarse_angle - m.rk_angle) / 15;
  velocity = m.rk_velocity - (m.coarse_velocity - m.rk_velocity) / 15;
  new_time = m.sim_time;

  // The tangent vectors along the same stages.
  const double cos_a = std::cos(a);
  const StageCosines full{cos_a, std::cos(arg2_full), std::cos(arg3_full), std::cos(arg4_full)};
  const StageCosines half{cos_a, std::cos(arg2_half), std::cos(arg3_half), std::cos(arg4_half)};
  const StageCosines second{std::cos(a1), std::cos(arg2_second), std::cos(arg3_second),
                            std::cos(arg4_second)};
  for (int i = 0; i < n; ++i) {
    const Tangent coarse = tangent_rk4(t[i], h, q, full);
    const Tangent fine = tangent_rk4(tangent_rk4(t[i], hh, q, half), hh, q, second);
    t[i].angle = fine.angle - (coarse.angle - fine.angle) / 15;
    t[i].velocity = fine.velocity - (coarse.velocity - fine.velocity) / 15;
  }
}

}  // namespace kv
