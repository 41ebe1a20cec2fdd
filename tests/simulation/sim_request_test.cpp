// simulate() called with a request from the window: a failure given back with the text the
// window tells. (The progress of a bare request: SimEngine.) (That it writes what "Continue"
// writes, with the parameter set taken from the request and not from the panel, is checked in
// tests/faces.)
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

// From the window: HALT turns green for the set-up and grey again at the failure, which the
// window tells as a "File error". (Refused parameters: SimEngine.StagesOfRunsThatEndEarly.)
TEST(SimRequest, AnUnwritablePathComesBackAsTheReasonTheWindowTells) {
  const auto dir = temp_folder("request_bad");
  SimForm t;
  t.computer_time();
  RunToEnd run;
  const SimRequest r = request_of(t, false, 10, (dir / "no-folder" / "x.poi").string());
  const SimOutcome out = simulate_in_window(t.f, r, run);
  EXPECT_EQ(out.status, Status::failed);
  EXPECT_NE(out.reason.find("no-folder"), std::string::npos) << out.reason;
  EXPECT_EQ(t.f.ui[Ctl::Text18].back_color, kGrey);
  ASSERT_EQ(t.messages(), 1);
  EXPECT_EQ(t.s.dialogs.shown.back().title, "File error");
  EXPECT_EQ(t.last_message(), out.reason);
  EXPECT_EQ(files_in(dir), 0);
}
