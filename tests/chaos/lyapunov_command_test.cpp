// The Lyapunov exponent of an orbit file as the window shows it: the texts, the progress
// marks, HALT, and files that are too short or not numbers; and the engine called with a
// request on the chaos state alone.
#include <gtest/gtest.h>

#include <cmath>

#include "app/commands/lyapunov_display.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "chaos/lyapunov.h"
#include "tests/support/data_files.h"
#include "tests/support/scripted_services.h"

namespace kv {
namespace {

// The command with HALT polled as the window polls it (scripted pointer).
LyapunovRun lyapunov(Form1& f, const std::string& path) {
  WindowRunControl run(f);
  return lyapunov_command(f, path, run);
}

// The engine alone: no window, no texts.
LyapunovRun estimate(ChaosState& chaos, const std::string& path, RunControl& run) {
  return kv::lyapunov(chaos, LyapunovRequest{path, {}}, run);
}

double velocity_of(long record) {
  return std::sin(record * 0.0123) * 3 + std::sin(record * 0.031);
}

class LyapunovCommand : public ::testing::Test {
 protected:
  test::TempDir dir;
  ScriptedServices s;
  Form1 f{s.services()};
  std::string orbit(long records) {
    return dir.write("o.pha", test::orbit_text(records, records, velocity_of));
  }
  void expect_halt_restored() {
    EXPECT_FALSE(f.ui[Ctl::Text18].enabled);
    EXPECT_EQ(f.ui[Ctl::Text18].back_color, kGrey);
    EXPECT_FALSE(f.ui[Ctl::Text68].visible);
  }
};

TEST(LyapunovText, Pattern) {
  EXPECT_EQ(lyapunov_status_text(0.4567), "Lyapunov exponent=.457");
  EXPECT_EQ(lyapunov_status_text(1.5), "Lyapunov exponent=1.5");
  EXPECT_EQ(lyapunov_status_text(-0.25), "Lyapunov exponent=-.25");
}

TEST_F(LyapunovCommand, FinishedRunShowsTheValueAndTheProgressMarks) {
  std::string text_during, marks_during;
  std::uint32_t halt_colour = 0;
  s.pointer.on_query = [&](ScriptedPointer&, long n) {
    if (n == 0) {
      text_during = f.ui[Ctl::Text67].text;
      marks_during = f.ui[Ctl::Text68].text;
      halt_colour = f.ui[Ctl::Text18].back_color;
    }
  };
  const LyapunovRun run = lyapunov(f, orbit(12000));
  EXPECT_EQ(run.status, Status::done);
  EXPECT_EQ(run.steps, 24);
  EXPECT_EQ(text_during, "Calculating Lyapunov Exponent\r\n               Please wait\r\n");
  EXPECT_EQ(marks_during, " ccccccccccccccccccccc");  // 1 step done: no "g" yet
  EXPECT_EQ(halt_colour, kCyan);
  EXPECT_EQ(f.ui[Ctl::Text68].text, " ggggggggggggccccccccc");
  EXPECT_EQ(f.lyapunov_exponent, run.exponent);
  EXPECT_TRUE(f.ui[Ctl::Text67].visible);
  EXPECT_EQ(f.ui[Ctl::Text67].text, lyapunov_status_text(run.exponent));
  expect_halt_restored();
}

TEST_F(LyapunovCommand, HaltLeavesZeroAndHidesTheText) {
  s.pointer.pos = {359, 735};  // corner of the HALT box
  s.pointer.on_query = [](ScriptedPointer& p, long n) {
    if (n == 3000) p.press();
  };
  f.lyapunov_exponent = 3;
  const LyapunovRun run = lyapunov(f, orbit(12000));
  EXPECT_EQ(run.status, Status::halted);
  EXPECT_EQ(f.lyapunov_exponent, 0);
  EXPECT_FALSE(f.ui[Ctl::Text67].visible);
  expect_halt_restored();
}

TEST_F(LyapunovCommand, FileTooShortGivesNoEstimate) {
  f.lyapunov_exponent = 3;
  const LyapunovRun run = lyapunov(f, orbit(11999));
  EXPECT_EQ(run.status, Status::refused);
  EXPECT_EQ(f.lyapunov_exponent, 0);
  EXPECT_TRUE(f.ui[Ctl::Text67].visible);
  EXPECT_EQ(f.ui[Ctl::Text67].text, kLyapunovTooShort);
  EXPECT_EQ(s.dialogs.shown.size(), 0u);
  expect_halt_restored();
}

TEST_F(LyapunovCommand, UnreadableFilesAreToldByName) {
  std::string text = test::orbit_text(12000, 12000, velocity_of);
  const std::size_t pos = text.find("\n9.998 ") + 1;  // record 4999, line 5001
  text.replace(pos, 5, "9,99x");
  const std::string path = dir.write("bad.pha", text);
  const LyapunovRun run = lyapunov(f, path);
  EXPECT_EQ(run.status, Status::failed);
  ASSERT_EQ(s.dialogs.count("message"), 1);
  EXPECT_EQ(s.dialogs.shown[0].text, path + ": line 5001: \"99x\" is not a number");
  EXPECT_FALSE(f.ui[Ctl::Text67].visible);
  expect_halt_restored();
}

TEST_F(LyapunovCommand, EndlessInputIsRefusedWithinBoundedMemory) {
  // /dev/zero never ends and has no line ends: the first line is too long.
  const LyapunovRun run = lyapunov(f, "/dev/zero");
  EXPECT_EQ(run.status, Status::failed);
  ASSERT_EQ(s.dialogs.count("message"), 1);
  EXPECT_EQ(s.dialogs.shown[0].text, "/dev/zero: line 1: the line is longer than 256 characters");
  expect_halt_restored();
}

#ifndef _WIN32  // a pipe named through /proc
TEST_F(LyapunovCommand, ReadsOnlyTheRecordsItUses) {
  // Records after the 12000th are never looked at, however broken, and the input need
  // not end: the writer keeps the pipe open until the estimate is done.
  std::string text = test::orbit_text(12000, 12000, velocity_of);
  const LyapunovRun whole = lyapunov(f, dir.write("a.pha", text));
  text += "1 2 junk 4\r\n" + std::string(100000, 'x');
  test::PipeFeeder feeder(text, false);
  const LyapunovRun run = lyapunov(f, feeder.path());
  feeder.finish();
  EXPECT_EQ(run.status, Status::done);
  EXPECT_EQ(run.exponent, whole.exponent);
  EXPECT_EQ(s.dialogs.shown.size(), 0u);
}
#endif

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// The command called directly with a run control: HALT at the first candidate stops the
// estimate. (A run nobody stops gives the window's text: tests/faces.)
TEST_F(LyapunovCommand, RunControlHaltsTheEstimate) {
  const std::string path = orbit(12000);
  ScriptedRunControl halting;
  halting.halt_at = 1;
  const LyapunovRun halted = estimate(f, path, halting);
  EXPECT_EQ(halted.status, Status::halted);
  EXPECT_EQ(halted.exponent, 0);
  EXPECT_EQ(halting.halt_polls, 1);
}

TEST_F(LyapunovCommand, ASeriesWithoutNeighboursGivesNoEstimateButTheDesignedText) {
  // A constant velocity: every candidate lies at distance 0, so no neighbour is taken and
  // no step has a growth rate. The window shows the designed text; the outcome says there
  // is no estimate, so the command line reports none.
  const std::string path =
      dir.write("c.pha", test::orbit_text(12000, 12000, [](long) { return 1.0; }));
  const LyapunovRun run = lyapunov(f, path);
  EXPECT_EQ(run.status, Status::refused);
  EXPECT_EQ(run.text, "Lyapunov exponent=.");
  EXPECT_EQ(f.ui[Ctl::Text67].text, "Lyapunov exponent=.");
  // A series with neighbours is an estimate.
  EXPECT_EQ(lyapunov(f, orbit(12000)).status, Status::done);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// The engine with a request and nothing but the chaos state: the watch hears of the start
// once, before any step, and of every step with the running value already kept; the
// progress runs to the end of the series. (The result is the window's: tests/faces.)
TEST(LyapunovRequest, WatchAndProgressFollowTheEstimate) {
  test::TempDir dir;
  const std::string path = dir.write("o.pha", test::orbit_text(12000, 12000, velocity_of));
  ChaosState chaos;
  chaos.lyapunov_exponent = 7;
  int started = 0;
  std::vector<int> steps;
  std::vector<double> kept;
  LyapunovRequest request{path, {}};
  request.watch.started = [&] {
    ++started;
    EXPECT_TRUE(steps.empty());
  };
  request.watch.step_done = [&](const LyapunovStep& step) {
    steps.push_back(step.steps);
    kept.push_back(chaos.lyapunov_exponent);
    EXPECT_EQ(chaos.lyapunov_exponent, step.estimate);
  };
  ScriptedRunControl run;
  const LyapunovRun out = lyapunov(chaos, request, run);
  ASSERT_EQ(out.status, Status::done);
  EXPECT_EQ(started, 1);
  ASSERT_EQ(steps.size(), 24u);
  for (int k = 0; k < 24; ++k) EXPECT_EQ(steps[k], k + 1);
  EXPECT_EQ(chaos.lyapunov_exponent, out.exponent);
  EXPECT_EQ(kept.back(), out.exponent);
  ASSERT_EQ(run.progress_reports.size(), 24u);
  EXPECT_EQ(run.progress_reports.back(), (std::pair<std::int64_t, std::int64_t>{9501, 9501}));
}

TEST(LyapunovRequest, EndingsBeforeTheEstimateComeBackWithTheirTexts) {
  test::TempDir dir;
  ChaosState chaos;
  int started = 0;
  LyapunovRequest request{dir.file("missing.pha"), {}};
  request.watch.started = [&] { ++started; };
  RunToEnd to_end;

  // A missing file and a Poincare file end before the estimate begins.
  chaos.lyapunov_exponent = 3;
  LyapunovRun out = lyapunov(chaos, request, to_end);
  EXPECT_EQ(out.status, Status::failed);
  EXPECT_NE(out.reason.find("missing.pha"), std::string::npos) << out.reason;
  EXPECT_EQ(chaos.lyapunov_exponent, 0);
  std::string text = test::orbit_text(12000, 12000, velocity_of);
  text.replace(text.find("PHASE"), 5, "POINCARE");
  out = lyapunov_of_text(chaos, text, request, to_end);
  EXPECT_EQ(out.status, Status::failed);
  // A Poincare file has one velocity per drive period: not the series the estimate needs.
  EXPECT_NE(out.reason.find("line 2 reads \"POINCARE\", not PHASE"), std::string::npos)
      << out.reason;
  EXPECT_EQ(started, 0);

  // A short file has begun: its records were being read.
  chaos.lyapunov_exponent = 3;
  out = lyapunov_of_text(chaos, test::orbit_text(11999, 11999, velocity_of), request, to_end);
  EXPECT_EQ(out.status, Status::refused);
  EXPECT_EQ(out.text, kLyapunovTooShort);
  EXPECT_EQ(chaos.lyapunov_exponent, 0);
  EXPECT_EQ(started, 1);
}

TEST(LyapunovDisplay, ProgressMarks) {
  // 21 places after the blank: one "g" per two steps done, "c" for the rest.
  EXPECT_EQ(lyapunov_progress_marks(0), " " + std::string(21, 'c'));
  EXPECT_EQ(lyapunov_progress_marks(3), " g" + std::string(20, 'c'));
  EXPECT_EQ(lyapunov_progress_marks(24), " ggggggggggggccccccccc");
  EXPECT_EQ(lyapunov_progress_marks(50), " " + std::string(25, 'g'));  // no "c" is left
}

}  // namespace
}  // namespace kv
