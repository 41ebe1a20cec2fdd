// simulate() called directly with a request: the same file as "Continue" with the same
// answers, the parameter set taken from the request and not from the panel, and failures
// given back with the text told.
#include <gtest/gtest.h>

#include "platform/run_control.h"
#include "sim_support.h"
#include "simulation/sim_continue.h"

using namespace kv;
using namespace kv::test;

namespace {

SimRequest request_of(SimForm& t, bool orbit, i32 points, const std::string& path) {
  SimRequest r;
  r.panel = panel_texts(t.f);
  r.options = sim_options(t.f);
  r.options.phase_file = orbit;
  r.options.poincare_file = !orbit;
  r.points = points;
  r.path = path;
  return r;
}

}  // namespace

TEST(SimRequest, WritesTheFileContinueWrites) {
  const auto dir = temp_folder("request");
  for (bool orbit : {true, false}) {
    SimForm window;
    window.computer_time();
    window.f.ui.set_text(Ctl::Text22, "0.0006");
    const auto window_file = dir / (orbit ? "w.pha" : "w.poi");
    window.save(orbit ? Ctl::Check3 : Ctl::Check4, orbit ? "400" : "15", window_file.string());

    SimForm direct;
    direct.computer_time();
    const auto direct_file = dir / (orbit ? "d.pha" : "d.poi");
    SimRequest r = request_of(direct, orbit, orbit ? 400 : 15, direct_file.string());
    r.panel.drive_amplitude = "0.0006";  // given in the request; the panel box is untouched
    RunToEnd run;
    const SimOutcome out = simulate(direct.sim.context, r, run);
    EXPECT_EQ(out.status, Status::done);
    EXPECT_EQ(out.end, SimEnd::Completed);
    EXPECT_EQ(out.lines, orbit ? 400 : 15);  // a simulation saves N lines
    EXPECT_EQ(direct.f.ui[Ctl::Text22].text, "0.0005306");
    EXPECT_EQ(direct.messages(), 0);
    EXPECT_EQ(read_file(direct_file), read_file(window_file));
  }
}

TEST(SimRequest, RefusedParametersAndAnUnwritablePathComeBackAsReasons) {
  const auto dir = temp_folder("request_bad");
  SimForm t;
  t.computer_time();
  SimRequest r = request_of(t, true, 10, (dir / "x.pha").string());
  r.panel.damping = "-1";
  RunToEnd run;
  SimOutcome out = simulate(t.sim.context, r, run);
  EXPECT_EQ(out.status, Status::refused);
  EXPECT_FALSE(out.ran);
  EXPECT_EQ(out.reason, "\"Damping=\" must be a number greater than 0 (it holds \"-1\").");
  EXPECT_EQ(t.messages(), 0);  // the engine tells nothing itself

  // From the window: HALT turns green for the set-up and grey again at the failure, which
  // the window tells as a "File error".
  r = request_of(t, false, 10, (dir / "no-folder" / "x.poi").string());
  out = simulate_in_window(t.f, r, run);
  EXPECT_EQ(out.status, Status::failed);
  EXPECT_NE(out.reason.find("no-folder"), std::string::npos) << out.reason;
  EXPECT_EQ(t.f.ui[Ctl::Text18].back_color, kGrey);
  ASSERT_EQ(t.messages(), 1);
  EXPECT_EQ(t.s.dialogs.shown.back().title, "File error");
  EXPECT_EQ(t.last_message(), out.reason);
  EXPECT_EQ(files_in(dir), 0);
}

TEST(SimRequest, HaltIsAnOutcomeAndLeavesNoFile) {
  const auto dir = temp_folder("request_halt");
  SimForm t;
  t.computer_time();
  ScriptedRunControl run;
  run.halt_at = 50;
  const SimOutcome out =
      simulate(t.sim.context, request_of(t, true, 1000, (dir / "h.pha").string()), run);
  EXPECT_EQ(out.status, Status::halted);
  EXPECT_EQ(out.end, SimEnd::Halted);
  EXPECT_EQ(files_in(dir), 0);
}

// A saving run reports every line saved of the number asked for.
TEST(SimRequest, ReportsTheLinesSavedAsProgress) {
  const auto dir = temp_folder("request_progress");
  SimForm t;
  t.computer_time();
  ScriptedRunControl run;
  const SimOutcome out =
      simulate(t.sim.context, request_of(t, false, 12, (dir / "p.poi").string()), run);
  ASSERT_EQ(out.end, SimEnd::Completed);
  ASSERT_EQ(run.progress_reports.size(), 12u);
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(run.progress_reports[i].first, static_cast<std::int64_t>(i + 1));
    EXPECT_EQ(run.progress_reports[i].second, 12);
  }
}
