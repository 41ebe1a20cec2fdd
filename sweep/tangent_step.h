// One step of the pendulum together with tangent vectors carried along it: the step is the
// simulation's own (PendulumModel::advance_step, to the bit), and each tangent vector is
// advanced by the same Runge-Kutta scheme applied to the variational equations
//   d(dtheta)/dtau = dv,  d(dv)/dtau = -dv/q - cos(theta) dtheta,
// with theta taken at every stage's own angle, and combined by the same Richardson rule.
#pragma once

#include "simulation/model.h"

namespace kv {

struct Tangent {
  double angle = 0, velocity = 0;
};

// Advances `m`, `angle` and `velocity` exactly as m.advance_step does, and the `n` tangent
// vectors `t` (n is 1 or 2) along that step.
void advance_with_tangents(PendulumModel& m, double& new_time, double& angle, double& velocity,
                           double h, Tangent* t, int n);

}  // namespace kv
