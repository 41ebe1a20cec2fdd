#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/commands/startup.h"
#include "app/state/form1.h"
#include "platform/scripted_services.h"
#include "simulation/model.h"
#include "simulation/sim_panel.h"

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

// The step-doubling step written out literally from three rk4_step calls.
void reference_step(PendulumModel& m, double& angle, double& velocity, double h) {
  const double hh = h / 2;
  m.rk4_step(angle, velocity, h);
  const double ca = m.rk_angle, cv = m.rk_velocity;
  m.rk4_step(angle, velocity, hh);
  angle = m.rk_angle;
  velocity = m.rk_velocity;
  m.sim_time = static_cast<float>(m.sim_time + hh);
  m.rk4_step(angle, velocity, hh);
  const double fa = m.rk_angle, fv = m.rk_velocity;
  m.sim_time = static_cast<float>(m.sim_time + hh);
  angle = fa - (ca - fa) / 15;
  velocity = fv - (cv - fv) / 15;
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

TEST(Model, AdvanceStepIsBitIdenticalToThreeLiteralRk4Steps) {
  PendulumModel fast = default_model(), literal = default_model();
  const double h = derive(PendulumParameters{}).h;
  double fa = 1.0, fv = 0.111247, la = 1.0, lv = 0.111247, t = 0;
  double lowest = fa, highest = fa;
  for (int i = 0; i < 20000; ++i) {
    fast.advance_step(t, fa, fv, h);
    reference_step(literal, la, lv, h);
    ASSERT_EQ(fa, la) << "step " << i;
    ASSERT_EQ(fv, lv) << "step " << i;
    ASSERT_EQ(fast.sim_time, literal.sim_time);
    ASSERT_EQ(t, static_cast<double>(fast.sim_time));
    lowest = std::min(lowest, fa);
    highest = std::max(highest, fa);
  }
  // The pendulum went over the top: the angle left [0, 2 pi] unwrapped.
  EXPECT_TRUE(lowest < 0 || highest > 6.2831854) << lowest << " " << highest;
}

TEST(Model, TimeIsTheSinglePrecisionSumOfHalfSteps) {
  PendulumModel m = default_model();
  const double h = derive(PendulumParameters{}).h;
  double angle = 1, velocity = 0, t = 0;
  float expected = 0;
  const int n = 200000;
  for (int i = 0; i < n; ++i) {
    m.advance_step(t, angle, velocity, h);
    expected = static_cast<float>(expected + h / 2);
    expected = static_cast<float>(expected + h / 2);
    ASSERT_EQ(m.sim_time, expected);
  }
  // Keeping the time in double precision would give a visibly different clock.
  EXPECT_GT(std::fabs(t - n * h), 0.01);
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
  const PanelReading p = read_panel(f);  // the panel's default texts
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
