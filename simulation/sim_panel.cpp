#include "simulation/sim_panel.h"

#include <cmath>

#include "platform/list_input.h"
#include "simulation/model.h"

namespace kv {

namespace {

// The box's value, or `stored` when the box is empty.
double box_value(const std::string& text, double stored) {
  return text.empty() ? stored : leading_number(text);
}

std::string describe(const PanelTexts& t, const PanelBox& box) {
  const std::string& text = t.*box.text;
  if (text.empty()) return "its last value";
  return "\"" + text + "\"";
}

std::string must_be_positive(const PanelTexts& t, const PanelBox& box) {
  return "\"" + std::string(box.caption) + "\" must be a number greater than 0 (it holds " +
         describe(t, box) + ").";
}

std::string must_be_number(const PanelTexts& t, const PanelBox& box) {
  return "\"" + std::string(box.caption) + "\" must be an ordinary number (it holds " +
         describe(t, box) + ").";
}

std::string too_large(const PanelTexts& t, const PanelBox& box) {
  return "\"" + std::string(box.caption) + "\" is too large for the simulation (it holds " +
         describe(t, box) + ").";
}

}  // namespace

SimParameters read_panel(const SimParameters& stored, const PanelTexts& t) {
  SimParameters p;
  p.mgr = box_value(t.mgr, stored.mgr);
  p.inertia = box_value(t.inertia, stored.inertia);
  p.damping = box_value(t.damping, stored.damping);
  p.drive_torque = box_value(t.drive_amplitude, stored.drive_torque);
  p.drive_omega = box_value(t.drive_frequency, stored.drive_omega);
  derive_values(p);
  p.initial_angle = box_value(t.initial_angle, stored.initial_angle);
  p.drive_phase = box_value(t.drive_phase, 0.0);
  // The velocity box is in rad/s; the stored value is dimensionless. An empty box keeps
  // the stored value as it is.
  const std::string& v = t.initial_velocity;
  p.initial_velocity = v.empty() ? stored.initial_velocity : leading_number(v) / p.omega0;
  p.time_out = box_value(t.time_out, 0.0);
  return p;
}

std::string check_panel(const PanelTexts& t, const SimParameters& p) {
  // The three quantities that divide or sit under the square root must be positive.
  if (!(std::isfinite(p.mgr) && p.mgr > 0)) return must_be_positive(t, kMgrBox);
  if (!(std::isfinite(p.inertia) && p.inertia > 0)) return must_be_positive(t, kInertiaBox);
  if (!(std::isfinite(p.damping) && p.damping > 0)) return must_be_positive(t, kDampingBox);
  if (!(std::isfinite(p.omega0) && p.omega0 > 0))
    return "\"mgr=\" and \"Inertia=\" are too far apart: mgr / Inertia must be a positive "
           "ordinary number.";
  if (!(std::isfinite(p.q_factor) && p.q_factor > 0)) return must_be_number(t, kDampingBox);
  if (!std::isfinite(p.drive_torque) || !std::isfinite(p.drive_amplitude))
    return must_be_number(t, kDriveAmplitudeBox);
  if (!std::isfinite(p.drive_omega) || !std::isfinite(p.drive_frequency))
    return must_be_number(t, kDriveFrequencyBox);
  if (!std::isfinite(p.drive_phase)) return must_be_number(t, kDrivePhaseBox);
  if (!(std::fabs(p.initial_angle) <= kMaxStateMagnitude)) return too_large(t, kInitialAngleBox);
  if (!(std::fabs(p.initial_velocity) <= kMaxStateMagnitude)) {
    // The box holds rad/s; the stored value is divided by the natural frequency. When the
    // velocity itself is ordinary, the natural frequency is what is too small.
    if (std::fabs(p.initial_velocity * p.omega0) <= kMaxStateMagnitude)
      return "\"mgr=\" and \"Inertia=\" give a natural frequency (mgr / Inertia)^0.5 too "
             "small for the simulation.";
    return too_large(t, kInitialVelocityBox);
  }
  if (!std::isfinite(p.time_out)) return must_be_number(t, kTimeOutBox);
  return {};
}

void set_default_parameters(SimulationState& sim) {
  static_cast<PendulumParameters&>(sim) = startup_pendulum();
  derive_values(sim);
  sim.initial_velocity = 1.0;
  sim.initial_angle = 1.0;
}

}  // namespace kv
