#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "sim_support.h"

using namespace kv;
using namespace kv::test;

namespace {

// The run's clock as the design fixes it: time 0, then two single-precision additions of
// h / 2 per step.
std::vector<float> step_times(double h, int steps) {
  std::vector<float> t{0.0f};
  for (int i = 0; i < steps; ++i) {
    float x = static_cast<float>(t.back() + h / 2);
    t.push_back(static_cast<float>(x + h / 2));
  }
  return t;
}

}  // namespace

TEST(SimRun, ComputerTimeOrbitSaveWritesExactlyNLinesFromTheSecondStep) {
  SimForm t;
  t.computer_time();
  const auto path = temp_folder("ten") / "ten.pha";
  t.save(Ctl::Check3, "10", path.string());
  const auto lines = lines_of(read_file(path));
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], " 10 ");
  EXPECT_EQ(lines[1], "PHASE");
  // The first step (time 0) is not above a time-out of 0, so it is neither drawn nor saved.
  EXPECT_EQ(lines[2].substr(0, 5), ".002 ");
  EXPECT_EQ(lines[11].substr(0, 4), ".02 ");
  EXPECT_EQ(t.f.cnt, 11);  // the run stopped by itself after the tenth line
  EXPECT_EQ(t.messages(), 0);
  EXPECT_FALSE(t.f.ui[Ctl::Text18].enabled);
  EXPECT_EQ(t.f.ui[Ctl::Text18].back_color, kGrey);
  EXPECT_EQ(t.f.plot_flag, kFalse);
  EXPECT_EQ(t.f.saving, kFalse);
  EXPECT_EQ(t.f.ui[Ctl::Text58].text, "Saved ten.pha: 10 lines");
}

TEST(SimRun, TimeOutHoldsBackDrawingSamplingAndSaving) {
  SimForm t;
  t.computer_time();
  t.f.ui.set_text(Ctl::Text69, "5");
  SimRun r = t.begin();
  struct Seen {
    i64 elapsed;
    std::uint64_t phase_serial, poincare_serial;
  };
  std::vector<Seen> seen;  // state after each step
  t.halt_after(3000);
  auto halt = t.s.pointer.on_query;
  t.s.pointer.on_query = [&](ScriptedPointer& p, long n) {
    if (n % 2 == 0) seen.push_back({r.elapsed_ms, t.f.Picture1.serial(), t.f.Picture2.serial()});
    halt(p, n);
  };
  ASSERT_EQ(run_sim_loop(t.f, r), SimEnd::Halted);
  int drawn_before = 0, first_drawn = -1, samples_after = 0;
  for (std::size_t i = 1; i < seen.size(); ++i) {
    const bool drew = seen[i].phase_serial != seen[i - 1].phase_serial;
    if (seen[i].elapsed <= 5000) {
      drawn_before += drew || seen[i].poincare_serial != seen[i - 1].poincare_serial;
    } else {
      if (first_drawn < 0 && drew) first_drawn = static_cast<int>(i);
      samples_after += seen[i].poincare_serial != seen[i - 1].poincare_serial;
    }
  }
  EXPECT_EQ(drawn_before, 0);
  ASSERT_GT(first_drawn, 0);
  EXPECT_LE(seen[first_drawn - 1].elapsed, 5000);
  EXPECT_GT(samples_after, 0);

  // A save made with the same time-out starts with the first step after 5 s.
  SimForm u;
  u.computer_time();
  u.f.ui.set_text(Ctl::Text69, "5");
  const auto path = temp_folder("timeout") / "t.pha";
  u.save(Ctl::Check3, "3", path.string());
  const double first = std::atof(lines_of(read_file(path)).at(2).c_str());
  EXPECT_GT(first, 5.0);
  EXPECT_LE(first, 5.003);
}

TEST(SimRun, PoincareSamplesAtUpwardCrossingsOfTheShiftedDrive) {
  for (double phase : {0.0, 1.0}) {
    SimForm t;
    t.computer_time();
    SimRun r = t.begin(phase);
    std::vector<std::pair<bool, float>> seen;  // (sampled, time) after each step
    t.halt_after(5000);
    auto halt = t.s.pointer.on_query;
    t.s.pointer.on_query = [&](ScriptedPointer& p, long n) {
      if (n % 2 == 0 && n > 0) seen.emplace_back(t.f.poincare_event != kFalse, r.model.sim_time);
      halt(p, n);
    };
    run_sim_loop(t.f, r);
    const double omega = t.f.drive_frequency;
    auto cycle = [&](double tau) { return std::floor((omega * tau - phase) / (2 * M_PI)); };
    int samples = 0;
    double before = 0;
    for (const auto& [sampled, tau] : seen) {
      EXPECT_EQ(sampled, cycle(tau) > cycle(before)) << "phase " << phase << " at " << tau;
      samples += sampled;
      before = tau;
    }
    EXPECT_GE(samples, 8);  // one per 540.5 steps
    EXPECT_EQ(t.f.poincare_cnt, samples);
  }
}

TEST(SimRun, FirstStepSamplesOnlyWhenTheEarlierDriveSineWasNegative) {
  for (double prev : {0.0, 0.5, -0.5}) {
    SimForm t;
    t.f.drive_sine_prev = prev;             // as an earlier run left it
    t.f.ui.set_text(Ctl::Text19, "0.005");  // the shifted drive crosses zero in step 1
    t.f.ui.set_text(Ctl::Text69, "-1");     // and step 1 lies after the time-out
    t.halt_after(1);
    Command21_Click(t.f);
    EXPECT_EQ(t.f.poincare_cnt, prev < 0 ? 1 : 0) << prev;
  }
}

TEST(SimRun, WrapKeepsTheAngleWithinOneTurnAndCountsTurns) {
  double angle = 6.2831854, turns = 0;
  wrap_angle(angle, turns);
  EXPECT_EQ(angle, 6.2831854);
  EXPECT_EQ(turns, 0);
  angle = std::nextafter(6.2831854, 7.0);
  wrap_angle(angle, turns);
  EXPECT_GT(angle, 0);
  EXPECT_LT(angle, 1e-12);
  EXPECT_EQ(turns, 1);
  angle = -1e-9;
  wrap_angle(angle, turns);
  EXPECT_NEAR(angle, 6.2831854, 1e-8);
  EXPECT_EQ(turns, 0);
  angle = 20;
  wrap_angle(angle, turns);
  EXPECT_NEAR(angle, 20 - 3 * 6.2831854, 1e-12);
  EXPECT_EQ(turns, 3);

  // A fast pendulum goes round: the phase column stays within one turn and the revolution
  // column steps by one as the phase jumps from +pi to -pi (or back).
  SimForm t;
  t.computer_time();
  t.f.ui.set_text(Ctl::Text25, "20");
  const auto path = temp_folder("wrap") / "w.pha";
  t.save(Ctl::Check3, "2000", path.string());
  const auto lines = lines_of(read_file(path));
  ASSERT_EQ(lines.size(), 2002u);
  double prev_phase = 0;
  long prev_turns = 0, turn_changes = 0;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    double time, phase, omega;
    long turns_now;
    ASSERT_EQ(std::sscanf(lines[i].c_str(), "%lf %lf %lf %ld", &time, &phase, &omega, &turns_now),
              4);
    EXPECT_LE(std::fabs(phase), 3.1416);
    if (i > 2 && turns_now != prev_turns) {
      const int dir = turns_now > prev_turns ? 1 : -1;
      EXPECT_EQ(turns_now, prev_turns + dir);
      EXPECT_GT(prev_phase * dir, 2.5);
      EXPECT_LT(phase * dir, -2.5);
      ++turn_changes;
    }
    prev_phase = phase;
    prev_turns = turns_now;
  }
  EXPECT_GE(turn_changes, 2);
  EXPECT_EQ(t.f.revolution_slots[3], t.f.rollover);
}

// The pacer's own arithmetic is checked against the division on every step below.
TEST(SimRun, PhasePlotRefreshPacing) {
  // In the run: after 100 computer-time steps everything drawn is shown, after 99 not.
  for (long steps : {99L, 100L}) {
    SimForm t;
    t.computer_time();
    SimRun r = t.begin();
    t.halt_after(steps);
    run_sim_loop(t.f, r);
    EXPECT_EQ(t.f.Picture1.shown_serial() == t.f.Picture1.serial(), steps == 100);
  }
}

// The pacing as first written, with the division on every step.
struct ModuloPacer {
  i32 interval = 0, step = 1, age = 1;
  bool tick(bool computer_time) {
    if (age < 100000) {
      interval = age / 4000 + 5;
      ++age;
      if (computer_time) interval *= 20;
    }
    if (step % interval == 0) {
      step = 1;
      return true;
    }
    ++step;
    return false;
  }
};

TEST(SimRun, RefreshPacingAcrossClearsMatchesTheDivisionOnEveryStep) {
  // A Clear restarts the age, so the interval drops below a step count that had grown
  // past it: the refresh then comes at the step's next multiple of the new interval.
  std::mt19937 rng(7);
  for (bool computer_time : {false, true}) {
    RefreshPacer pacer;
    ModuloPacer reference;
    for (int i = 0; i < 400000; ++i) {
      if (rng() % 9000 == 0) {
        pacer.restart();
        reference.age = 1;
      }
      ASSERT_EQ(pacer.tick(computer_time), reference.tick(computer_time)) << "tick " << i;
      ASSERT_EQ(pacer.step, reference.step);
    }
  }
}

TEST(SimRun, StoresFollowThePhasePointOfTheSameStep) {
  SimForm t;
  t.computer_time();
  t.f.ui.set_value(Ctl::HScroll1, 1);  // three turns across the phase plot
  t.f.ui.set_text(Ctl::Text24, "6.2");
  t.f.ui.set_text(Ctl::Text25, "20");
  t.halt_after(50);
  Command21_Click(t.f);
  ASSERT_EQ(t.f.cycle_number, 2);
  ASSERT_EQ(t.f.cnt, 50);
  ASSERT_NE(t.f.revolution_slots[3], 0);
  ASSERT_EQ(t.f.poincare_event, kFalse);
  const i32 a = t.f.phase_counts;
  // plot_phase_point put the unwrapped x into the row before the advance; the stores then
  // filled the new row from the phase count alone.
  EXPECT_EQ(t.f.orbit_points.at(49, 1), clng((t.f.revolution_slots[3] * 4000 + a) * 1.5) / 3);
  EXPECT_EQ(t.f.orbit_points.at(50, 1), clng(a * 1.5) / 3);
}

TEST(SimRun, RealTimeFollowsTheClockAndHaltAnswersWhileWaiting) {
  SimForm t;  // "Real time" is checked at start; the manual clock moves only when slept on
  const auto path = temp_folder("real") / "r.pha";
  t.save(Ctl::Check3, "5", path.string());
  const auto lines = lines_of(read_file(path));
  ASSERT_EQ(lines.size(), 7u);
  const std::vector<float> tau = step_times(0.002 * t.f.omega0, 6);
  for (int i = 0; i < 5; ++i) {
    // Line i is written in step i + 2, which waited until the clock reached its start.
    const double expected = std::ceil(tau[i + 1] / t.f.omega0 * 1000) / 1000;
    EXPECT_NEAR(std::atof(lines[2 + i].c_str()), expected, 1e-9) << lines[2 + i];
  }

  // A clock far behind the simulation: the wait sleeps in slices and still sees HALT.
  SimForm u;
  SimRun r = u.begin();
  r.start_tick = u.s.manual_clock.now + 100000;
  u.s.pointer.pos = {300, 720};
  u.s.pointer.on_query = [](ScriptedPointer& p, long n) {
    if (n == 3) p.press();  // during the wait of step 2
  };
  const std::int64_t start = u.s.manual_clock.now;
  EXPECT_EQ(run_sim_loop(u.f, r), SimEnd::Halted);
  EXPECT_LT(u.s.manual_clock.now - start, 100);
}

// The loop called directly with a scripted run control: HALT is asked before every step,
// Clear after it.
TEST(SimRunControl, HaltAndClearComeFromTheRunControl) {
  SimForm t;
  t.computer_time();
  SimRun r = t.begin();
  t.f.cnt = 0;
  ScriptedRunControl run;
  run.halt_at = 100;
  run.clear_at = {90};
  EXPECT_EQ(kv::run_sim_loop(t.sim.context, r, run), SimEnd::Halted);
  EXPECT_EQ(run.halt_polls, 100);
  EXPECT_EQ(run.clear_polls, 99);
  EXPECT_EQ(t.f.cnt, 9);  // steps 91 to 99 after the Clear of step 90
}

TEST(SimRun, VelocityIsDrawnUpward) {
  // Initial velocity 20 rad/s: the first step's point lies above the centre line of the
  // phase plot, at centre - 10 V, while the stored row keeps +10 V.
  SimForm t;
  t.computer_time();
  t.f.ui.set_text(Ctl::Text25, "20");
  t.halt_after(1);
  Command21_Click(t.f);
  ASSERT_EQ(t.f.cnt, 1);
  const double centre = zero_velocity_y(t.f.Picture1);
  EXPECT_LT(t.f.phase_y, centre - 1000);  // 10 V is about 1274
  EXPECT_GT(t.f.orbit_points.at(1, 2), 1000);
  EXPECT_NEAR(centre - t.f.phase_y, t.f.orbit_points.at(1, 2), 1.0);
}
