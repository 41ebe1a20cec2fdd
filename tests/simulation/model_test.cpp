#include <gtest/gtest.h>

#include <cmath>

#include "app/commands/simulation_window.h"
#include "app/state/form1.h"
#include "simulation/model.h"
#include "simulation/sim_panel.h"
#include "tests/support/scripted_services.h"

using namespace kv;

namespace {

PendulumModel default_model() {
  PendulumModel m;
  const DerivedParameters d = derive(PendulumParameters{});
  m.q_factor = d.q_factor;
  m.drive_amplitude = d.drive_amplitude;
  m.drive_frequency = d.drive_frequency;
  return m;
}

// One RK4 step transcribed from the model's definition: velocity increments k1..k4, k4
// rounded to single precision, the drive evaluated at tau, h * 0.5 + tau and tau + h.
void defined_rk4(const PendulumModel& m, double tau, double a, double v, double h, double& ra,
                 double& rv) {
  const double q = m.q_factor, g = m.drive_amplitude, om = m.drive_frequency;
  const double th = h * 0.5 + tau, t1 = tau + h;
  const double k1 = h * (g * std::sin(om * tau) + (-v / q - std::sin(a)));
  const double k2 =
      h * (g * std::sin(om * th) + (-(v + k1 * 0.5) / q - std::sin(a + v * (h * 0.5))));
  const double k3 =
      h * (g * std::sin(om * th) + (-(v + k2 * 0.5) / q - std::sin(a + (v + k1 / 2) * (h * 0.5))));
  const float k4 = static_cast<float>(
      h * (g * std::sin(om * t1) + (-(v + k3) / q - std::sin(a + (v + k2 / 2) * h))));
  ra = a + h * (v + (k1 + k2 + k3) / 6);
  rv = v + (k1 + 2 * k2 + 2 * k3 + k4) / 6;
}

// Classical RK4 in double precision throughout, with many small steps: the "true" motion.
void accurate_motion(const PendulumModel& m, double& a, double& v, double t, double span) {
  const int n = 2000;
  const double h = span / n;
  auto f = [&](double tt, double aa, double vv) {
    return -vv / m.q_factor - std::sin(aa) + m.drive_amplitude * std::sin(m.drive_frequency * tt);
  };
  for (int i = 0; i < n; ++i, t += h) {
    const double k1a = v, k1v = f(t, a, v);
    const double k2a = v + h / 2 * k1v, k2v = f(t + h / 2, a + h / 2 * k1a, k2a);
    const double k3a = v + h / 2 * k2v, k3v = f(t + h / 2, a + h / 2 * k2a, k3a);
    const double k4a = v + h * k3v, k4v = f(t + h, a + h * k3a, k4a);
    a += h / 6 * (k1a + 2 * k2a + 2 * k3a + k4a);
    v += h / 6 * (k1v + 2 * k2v + 2 * k3v + k4v);
  }
}

}  // namespace

TEST(Model, RestStaysExactlyAtRestWithoutDriveWhileTimeAdvances) {
  PendulumModel m = default_model();
  m.drive_amplitude = 0;
  double angle = 0, velocity = 0, t = 0;
  const double h = 0.0179780;
  for (int i = 0; i < 1000; ++i) {
    m.advance_step(t, angle, velocity, h);
    ASSERT_EQ(angle, 0.0);
    ASSERT_EQ(velocity, 0.0);
  }
  EXPECT_NEAR(t, 1000 * h, 1e-3);
  EXPECT_GT(t, 17.9);
}

TEST(Model, StepsFollowTheDefinedArithmeticToTheBit) {
  PendulumModel m = default_model();
  const double h = derive(PendulumParameters{}).h, hh = h / 2;
  double angle = 1.0, velocity = 0.111247, t = 0;
  double a = angle, v = velocity;
  float tau = 0;
  for (int i = 0; i < 20000; ++i) {
    double ca, cv, fa, fv;
    defined_rk4(m, tau, a, v, h, ca, cv);   // one full step
    defined_rk4(m, tau, a, v, hh, fa, fv);  // two half steps
    tau = static_cast<float>(tau + hh);
    defined_rk4(m, tau, fa, fv, hh, fa, fv);
    tau = static_cast<float>(tau + hh);
    a = fa - (ca - fa) / 15;
    v = fv - (cv - fv) / 15;
    m.advance_step(t, angle, velocity, h);
    ASSERT_EQ(angle, a) << "step " << i;
    ASSERT_EQ(velocity, v) << "step " << i;
    ASSERT_EQ(m.sim_time, tau);  // the clock: single-precision sums of half steps
  }
}

TEST(Model, CoarseAndFineStepsAgreeAndTheExtrapolationBeatsBoth) {
  PendulumModel m = default_model();
  const double h = 0.2;  // large enough for the truncation error to dominate
  double angle = 1.0, velocity = 0.5, t = 0;
  double true_angle = angle, true_velocity = velocity;
  accurate_motion(m, true_angle, true_velocity, 0.0, h);
  m.advance_step(t, angle, velocity, h);
  const double fine_angle = m.rk_angle, fine_velocity = m.rk_velocity;
  EXPECT_NEAR(m.coarse_angle, fine_angle, 1e-4);
  EXPECT_NEAR(m.coarse_velocity, fine_velocity, 1e-4);
  EXPECT_LT(std::fabs(angle - true_angle), std::fabs(fine_angle - true_angle) / 4);
  EXPECT_LT(std::fabs(velocity - true_velocity), std::fabs(fine_velocity - true_velocity) / 4);
}

TEST(Model, DefaultPanelGivesTheDocumentedDimensionlessValues) {
  ScriptedServices s;
  Form1 f(s.services());
  set_default_parameters(f);
  const SimParameters p = read_panel(f, panel_texts(f));  // the panel's default texts
  const double h = 0.002 * p.omega0;
  EXPECT_NEAR(p.omega0, 8.98899, 1e-5);
  EXPECT_NEAR(p.q_factor, 5.00030, 1e-5);
  EXPECT_NEAR(p.drive_amplitude, 0.664912, 1e-6);
  EXPECT_NEAR(p.drive_frequency, 0.646558, 1e-6);
  EXPECT_NEAR(h, 0.0179780, 1e-7);
  EXPECT_NEAR(p.initial_velocity, 0.111247, 1e-6);
  EXPECT_NEAR(2 * M_PI / p.drive_frequency / h, 540.5, 0.1);
  const DerivedParameters d = derive(PendulumParameters{});
  EXPECT_EQ(d.omega0, p.omega0);
  EXPECT_EQ(d.drive_amplitude, p.drive_amplitude);
  EXPECT_EQ(d.h, h);
}
