#include "simulation/model.h"

#include <cmath>

namespace kv {

void PendulumModel::rk4_step(double angle, const double& velocity, const double& h) {
  const double tau = static_cast<double>(sim_time);
  const double q = q_factor, g = drive_amplitude, om = drive_frequency;
  const double v = velocity;
  const double tau_h = h * 0.5 + tau;
  const double tau_1 = tau + h;
  const double k1 = h * (g * std::sin(om * tau) + (-v / q - std::sin(angle)));
  const double k2 =
      h * (g * std::sin(om * tau_h) + (-(v + k1 * 0.5) / q - std::sin(angle + v * (h * 0.5))));
  const double k3 = h * (g * std::sin(om * tau_h) +
                         (-(v + k2 * 0.5) / q - std::sin(angle + (v + k1 / 2) * (h * 0.5))));
  const double k4 = static_cast<float>(
      h * (g * std::sin(om * tau_1) + (-(v + k3) / q - std::sin(angle + (v + k2 / 2) * h))));
  rk_angle = angle + h * (v + (k1 + k2 + k3) / 6);
  rk_velocity = v + (k1 + 2 * k2 + 2 * k3 + k4) / 6;
}

namespace {

// The drive terms g sin(Omega tau) at the start, middle and end of one RK4 step.
struct Drive {
  double start, mid, end;
};

// The same arithmetic as rk4_step, with the drive terms and the first slope
// f0 = g sin(Omega tau) + (-v / q - sin(angle)) supplied by the caller. advance_step
// evaluates each distinct sine once: the full step and the first half step start from the
// same state at the same time, and the first half step ends at the full step's middle.
// Every operand and every operation is the one rk4_step performs, so the results are
// identical to the bit.
inline void rk4_with(double angle, double v, double h, double q, const Drive& d, double f0,
                     double& out_angle, double& out_velocity) {
  const double k1 = h * f0;
  const double k2 = h * (d.mid + (-(v + k1 * 0.5) / q - std::sin(angle + v * (h * 0.5))));
  const double k3 =
      h * (d.mid + (-(v + k2 * 0.5) / q - std::sin(angle + (v + k1 / 2) * (h * 0.5))));
  const double k4 =
      static_cast<float>(h * (d.end + (-(v + k3) / q - std::sin(angle + (v + k2 / 2) * h))));
  out_angle = angle + h * (v + (k1 + k2 + k3) / 6);
  out_velocity = v + (k1 + 2 * k2 + 2 * k3 + k4) / 6;
}

}  // namespace

void PendulumModel::advance_step(double& new_time, double& angle, double& velocity, double h) {
  const double hh = h / 2;
  const double q = q_factor, g = drive_amplitude, om = drive_frequency;
  const double tau = static_cast<double>(sim_time);

  // Full step from tau and first half step from tau share the start drive and the first
  // slope; the half step's end (tau + hh) is the full step's middle (h * 0.5 + tau).
  const double drive_0 = g * std::sin(om * tau);
  const double drive_half = g * std::sin(om * (h * 0.5 + tau));
  const double f0 = drive_0 + (-velocity / q - std::sin(angle));
  const Drive full{drive_0, drive_half, g * std::sin(om * (tau + h))};
  const Drive first{drive_0, g * std::sin(om * (hh * 0.5 + tau)), drive_half};
  rk4_with(angle, velocity, h, q, full, f0, coarse_angle, coarse_velocity);
  rk4_with(angle, velocity, hh, q, first, f0, rk_angle, rk_velocity);
  angle = rk_angle;
  velocity = rk_velocity;
  sim_time = static_cast<float>(sim_time + hh);

  // Second half step from the advanced (single-precision) time.
  const double tau2 = static_cast<double>(sim_time);
  const Drive second{g * std::sin(om * tau2), g * std::sin(om * (hh * 0.5 + tau2)),
                     g * std::sin(om * (tau2 + hh))};
  const double f2 = second.start + (-velocity / q - std::sin(angle));
  rk4_with(angle, velocity, hh, q, second, f2, rk_angle, rk_velocity);
  const double fine_angle = rk_angle, fine_velocity = rk_velocity;
  sim_time = static_cast<float>(sim_time + hh);
  angle = fine_angle - (coarse_angle - fine_angle) / 15;
  velocity = fine_velocity - (coarse_velocity - fine_velocity) / 15;
  new_time = sim_time;
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
