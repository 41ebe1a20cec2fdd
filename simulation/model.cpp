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

void PendulumModel::advance_step(double& new_time, double& angle, double& velocity, double h) {
  const double hh = h / 2;
  rk4_step(angle, velocity, h);
  coarse_angle = rk_angle;
  coarse_velocity = rk_velocity;
  rk4_step(angle, velocity, hh);
  angle = rk_angle;
  velocity = rk_velocity;
  sim_time = static_cast<float>(sim_time + hh);
  rk4_step(angle, velocity, hh);
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
