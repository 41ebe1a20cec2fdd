// The engine without a window: simulate() on bare state groups with a request typed in
// full, and the pure step that the run paces and hands to its sinks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "datafiles/data_lines.h"
#include "datafiles/save_state.h"
#include "platform/run_control.h"
#include "plot/plot_state.h"
#include "sim_support.h"
#include "simulation/sim_continue.h"
#include "simulation/sim_step.h"
#include "tests/support/plot_parts.h"

using namespace kv;
using namespace kv::test;

namespace {

// A save file in memory; a write fails from line `fail_at` on (1-based, 0 never).
class MemorySaveFile final : public SimSaveFile {
 public:
  bool open(const std::string& p, i32 n, std::string_view k, std::string&) override {
    path = p;
    header_n = n;
    kind = k;
    return true;
  }
  bool write(std::string_view line) override {
    if (fail_at > 0 && static_cast<long>(lines.size()) + 1 >= fail_at) return false;
    lines.emplace_back(line);
    return true;
  }
  bool keep(std::string*) override {
    kept = true;
    return true;
  }
  void discard() override { discarded = true; }

  std::string path, kind;
  i32 header_n = -1;
  std::vector<std::string> lines;
  long fail_at = 0;
  bool kept = false, discarded = false;
};

// The state groups a simulation works on, with nothing of a window: the plots show their
// parts through the default view that shows nothing.
struct BareEngine {
  ManualClock clock;
  SimulationState sim;
  PlotState plot;
  SaveState save;
  MemorySaveFile file;
  DecoderState point;
  SimContext context{sim, plot, save, file, clock, point};
  std::vector<SimStage> stages;

  BareEngine() {
    // The program's start-up parameter set.
    static_cast<PendulumParameters&>(sim) = startup_pendulum();
    derive_values(sim);
    sim.initial_angle = 1.0;
    sim.initial_velocity = 1.0;
  }
  SimRequest request(bool orbit, i32 points) {
    SimRequest r;
    r.panel = {"0.000798", "0.000009876", "0.000017754", "0.0006", "5.8119",
               "0.3",      "1.0",         "1.5",         "1"};
    r.options.computer_time = true;
    r.options.phase_file = orbit;
    r.options.poincare_file = !orbit;
    r.points = points;
    r.path = orbit ? "bare.pha" : "bare.poi";
    r.on_stage = [this](SimStage stage) { stages.push_back(stage); };
    return r;
  }
};

// The panel of a started window given the same texts as BareEngine::request.
void type_request_texts(SimForm& t) {
  const std::pair<Ctl, const char*> texts[] = {
      {Ctl::Text27, "0.000798"}, {Ctl::Text26, "0.000009876"}, {Ctl::Text21, "0.000017754"},
      {Ctl::Text22, "0.0006"},   {Ctl::Text23, "5.8119"},      {Ctl::Text19, "0.3"},
      {Ctl::Text24, "1.0"},      {Ctl::Text25, "1.5"},         {Ctl::Text69, "1"}};
  for (const auto& [box, text] : texts) t.f.ui.set_text(box, text);
}

}  // namespace

TEST(SimEngine, ABareRequestWritesTheLinesTheWindowWrites) {
  const auto dir = temp_folder("engine");
  for (bool orbit : {true, false}) {
    const i32 points = orbit ? 600 : 12;
    SimForm window;
    window.computer_time();
    type_request_texts(window);
    const auto window_file = dir / (orbit ? "w.pha" : "w.poi");
    window.save(orbit ? Ctl::Check3 : Ctl::Check4, std::to_string(points), window_file.string());
    const auto expected = lines_of(read_file(window_file));
    ASSERT_EQ(expected.size(), 2u + points);

    BareEngine e;
    ScriptedRunControl run;
    const SimOutcome out = simulate(e.context, e.request(orbit, points), run);
    EXPECT_EQ(out.status, Status::done);
    EXPECT_EQ(out.end, SimEnd::Completed);
    EXPECT_EQ(out.lines, points);
    // Every line saved is reported, of the number asked for.
    ASSERT_EQ(run.progress_reports.size(), static_cast<std::size_t>(points));
    for (i32 i = 0; i < points; ++i)
      EXPECT_EQ(run.progress_reports[i], (std::pair<std::int64_t, std::int64_t>(i + 1, points)));
    EXPECT_EQ(e.file.path, orbit ? "bare.pha" : "bare.poi");
    EXPECT_EQ(" " + std::to_string(e.file.header_n) + " ", expected[0]);
    EXPECT_EQ(e.file.kind, expected[1]);
    EXPECT_EQ(e.file.lines, std::vector<std::string>(expected.begin() + 2, expected.end()));
    EXPECT_TRUE(e.file.kept);
    EXPECT_FALSE(e.file.discarded);
    EXPECT_EQ(e.stages, (std::vector<SimStage>{SimStage::begun, SimStage::saving, SimStage::running,
                                               SimStage::ended}));
    // The same plots and tables as the window's, and the parameter set stored as read.
    EXPECT_EQ(e.plot.cnt, window.f.cnt);
    EXPECT_EQ(e.plot.poincare_cnt, window.f.poincare_cnt);
    EXPECT_TRUE(same_pixels(e.plot.Picture1, window.f.Picture1));
    EXPECT_TRUE(same_pixels(e.plot.Picture2, window.f.Picture2));
    EXPECT_EQ(e.point.rollover, window.f.rollover);
    EXPECT_EQ(e.sim.drive_amplitude, window.f.drive_amplitude);
    EXPECT_EQ(e.sim.drive_phase, 0.3);
    EXPECT_EQ(e.sim.initial_velocity, 1.5 / e.sim.omega0);
    EXPECT_EQ(e.plot.plot_flag, kFalse);
    EXPECT_EQ(e.save.saving, kFalse);
    EXPECT_EQ(out.reason, "");
  }
}

TEST(SimEngine, StagesOfRunsThatEndEarly) {
  // Points beyond the single-precision clock: refused before a file is opened.
  BareEngine beyond;
  RunToEnd run;
  SimOutcome out = simulate(beyond.context, beyond.request(false, 40000), run);
  EXPECT_EQ(out.status, Status::refused);
  EXPECT_TRUE(out.begun);
  EXPECT_FALSE(out.ran);
  EXPECT_EQ(beyond.stages, (std::vector<SimStage>{SimStage::begun}));
  EXPECT_EQ(beyond.file.header_n, -1);
  EXPECT_EQ(out.reason.rfind("At most ", 0), 0u) << out.reason;
  EXPECT_EQ(out.problem, out.reason);

  // Refused parameters: no stage at all, nothing stored.
  BareEngine refused;
  SimRequest r = refused.request(true, 10);
  r.panel.inertia = "0";
  out = simulate(refused.context, r, run);
  EXPECT_EQ(out.status, Status::refused);
  EXPECT_FALSE(out.begun);
  EXPECT_TRUE(refused.stages.empty());
  EXPECT_EQ(refused.sim.inertia, startup_pendulum().inertia);
  EXPECT_EQ(refused.plot.plot_flag, kFalse);

  // A write that fails: the run stops there, and what was written is kept.
  BareEngine failing;
  failing.file.fail_at = 5;
  out = simulate(failing.context, failing.request(true, 100), run);
  EXPECT_EQ(out.end, SimEnd::FileError);
  EXPECT_EQ(out.lines, 4);
  EXPECT_EQ(failing.file.lines.size(), 4u);
  EXPECT_TRUE(failing.file.kept);
  EXPECT_EQ(failing.stages.back(), SimStage::ended);

  // HALT: the file is thrown away.
  BareEngine halted;
  ScriptedRunControl halt;
  halt.halt_at = 20;
  out = simulate(halted.context, halted.request(true, 100), halt);
  EXPECT_EQ(out.status, Status::halted);
  EXPECT_TRUE(halted.file.discarded);
  EXPECT_FALSE(halted.file.kept);
}

namespace {

// The pendulum a run of `t`'s stored parameter set starts from, with the given drive sine
// of the previous step.
SimPendulum pendulum_of(const Form1& f, double drive_sine_prev) {
  SimPendulum p;
  p.model.q_factor = f.q_factor;
  p.model.drive_amplitude = f.drive_amplitude;
  p.model.drive_frequency = f.drive_frequency;
  p.h = 0.002 * f.omega0;
  p.angle = f.initial_angle;
  p.velocity = f.initial_velocity;
  p.drive_phase = f.drive_phase;
  p.time_out_ms = f.time_out * 1000;
  p.drive_sine_prev = drive_sine_prev;
  return p;
}

// The run time of the next step in computer time.
i64 computer_time_ms(const SimPendulum& p, double omega0) {
  return static_cast<i64>(round_half_even(p.model.sim_time / omega0 * 1000));
}

}  // namespace

// Stepping the pure function as the run does gives, line for line, the orbit file the
// window's run wrote, and as many Poincare events as the run stored.
TEST(SimStep, StepsGiveTheLinesOfTheRun) {
  SimForm t;
  t.computer_time();
  t.f.ui.set_text(Ctl::Text25, "20");  // fast enough to go round
  t.f.ui.set_text(Ctl::Text69, "0.5");
  const auto path = temp_folder("step") / "s.pha";
  t.save(Ctl::Check3, "3000", path.string());
  const auto lines = lines_of(read_file(path));
  ASSERT_EQ(lines.size(), 3002u);

  SimPendulum p = pendulum_of(t.f, 0.0);
  char line[160];
  std::size_t next = 2;
  int events = 0, turns_seen = 0;
  while (next < lines.size()) {
    const SimSample s = sim_step(p, computer_time_ms(p, t.f.omega0));
    ASSERT_EQ(s.fault, StepFault::none);
    EXPECT_GE(s.angle, 0);
    EXPECT_LE(s.angle, kWrapPeriod);
    turns_seen += s.revolutions != 0;
    events += s.poincare_event;
    if (!s.past_time_out) {
      EXPECT_FALSE(s.poincare_event);
      continue;
    }
    const std::size_t n =
        format_orbit_line_ms(line, s.elapsed_ms, s.angle - kSimulationPi,
                             s.velocity_value * kRadPerSecPerV, static_cast<i64>(s.revolutions));
    ASSERT_EQ(std::string(line, n), lines[next]) << "line " << next;
    ++next;
  }
  EXPECT_GT(turns_seen, 0);
  EXPECT_GT(events, 0);
  EXPECT_EQ(events, t.f.poincare_cnt);
  EXPECT_EQ(p.rollover, t.f.rollover);
}

TEST(SimStep, FaultsLeaveTheTurnsAndTheDriveSineAsTheyWere) {
  SimForm t;
  static_cast<SimParameters&>(t.f) = read_panel(t.f, panel_texts(t.f));

  SimPendulum blown = pendulum_of(t.f, -0.25);
  blown.rollover = 7;
  blown.velocity = 5e6;  // beyond any pendulum
  SimSample s = sim_step(blown, 0);
  EXPECT_EQ(s.fault, StepFault::unstable);
  EXPECT_EQ(blown.rollover, 7);
  EXPECT_EQ(blown.drive_sine_prev, -0.25);

  SimPendulum frozen = pendulum_of(t.f, -0.25);
  frozen.model.sim_time = 262144.0f;  // h / 2 no longer moves the clock
  s = sim_step(frozen, 0);
  EXPECT_EQ(s.fault, StepFault::time_frozen);
  EXPECT_EQ(frozen.model.sim_time, 262144.0f);
  EXPECT_EQ(frozen.drive_sine_prev, -0.25);
}

// Up to the time-out the drive is still followed, so the first crossing after it is seen
// exactly when a crossing happens in that step; a step at exactly the time-out is not past
// it.
TEST(SimStep, TheTimeOutHoldsBackEventsButNotTheDrive) {
  SimForm t;
  static_cast<SimParameters&>(t.f) = read_panel(t.f, panel_texts(t.f));
  SimPendulum unheld = pendulum_of(t.f, 0.0);
  unheld.time_out_ms = -1;
  int crossing = -1;
  for (int i = 0; crossing < 0 && i < 2000; ++i)
    if (sim_step(unheld, 0).poincare_event) crossing = i;
  ASSERT_GT(crossing, 0);

  for (i64 at : {0, 1}) {
    SimPendulum held = pendulum_of(t.f, 0.0);
    held.time_out_ms = 1000;
    for (int i = 0; i < crossing; ++i) {
      const SimSample s = sim_step(held, 999);
      EXPECT_FALSE(s.past_time_out);
      EXPECT_FALSE(s.poincare_event);
    }
    const SimSample s = sim_step(held, 1000 + at);
    EXPECT_EQ(s.past_time_out, at == 1);
    EXPECT_EQ(s.poincare_event, at == 1);
    EXPECT_GT(held.drive_sine_prev, 0);
    EXPECT_EQ(held.model.sim_time, unheld.model.sim_time);
  }
}

// The window while a run goes on, as the stage hook sets it: HALT enabled, red while a
// file is written and green without one, the panel hidden; grey and disabled after it.
TEST(SimWindow, HaltShowsTheRunFromItsFirstStep) {
  const auto dir = temp_folder("halt_colours");
  for (bool saving : {true, false}) {
    SimForm t;
    t.computer_time();
    struct Seen {
      std::uint32_t halt_color;
      bool halt_enabled, panel_visible;
    };
    std::vector<Seen> seen;
    t.halt_after(3);
    auto halt = t.s.pointer.on_query;
    t.s.pointer.on_query = [&](ScriptedPointer& p, long n) {
      seen.push_back({t.f.ui[Ctl::Text18].back_color, t.f.ui[Ctl::Text18].enabled,
                      t.f.ui[Ctl::Frame21].visible});
      halt(p, n);
    };
    if (saving)
      t.save(Ctl::Check3, "100", (dir / "r.pha").string());
    else
      Command21_Click(t.f);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().halt_color, saving ? kRed : kGreen);
    EXPECT_TRUE(seen.front().halt_enabled);
    EXPECT_FALSE(seen.front().panel_visible);
    EXPECT_EQ(t.f.cnt, 3);
    EXPECT_EQ(t.f.ui[Ctl::Text18].back_color, kGrey);
    EXPECT_FALSE(t.f.ui[Ctl::Text18].enabled);
  }
}
