// Sweeps: the kept points are kestavor-cli simulate's, the bytes do not depend on the
// thread count, the exponent has the known values, and bad requests are refused before
// any work.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <thread>

#include "platform/run_control.h"
#include "sweep/sweep.h"
#include "sweep/sweep_file.h"
#include "sweep/sweep_session.h"
#include "sweep/tangent_step.h"
#include "tests/support/files.h"

using namespace kv;
using kv::test::read_file;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> split(const std::string& text, const std::string& end) {
  std::vector<std::string> out;
  std::size_t start = 0, at;
  while ((at = text.find(end, start)) != std::string::npos) {
    out.push_back(text.substr(start, at - start));
    start = at + end.size();
  }
  return out;
}

// kestavor-cli's exit status for `args`.
int cli(const std::string& args) {
  return test::run_cli(args).status;
}

// The panel's start-up texts.
PanelTexts startup_panel() {
  return {"0.000798", "0.000009876", "0.000017754", "0.0005306", "5.8119", "0", "1.0", "1.0", "0"};
}

SweepRequest orbit_request(const PanelBox& box, double from, double to, std::int64_t steps) {
  SweepRequest r;
  r.base = startup_panel();
  r.x = {&box, from, to, steps};
  r.transient = 15;
  r.kept = 8;
  return r;
}

struct Swept {
  SweepOutcome outcome;
  std::vector<SweepCell> cells;
  std::string csv;  // header and rows
};

Swept sweep(const SweepRequest& r) {
  Swept s;
  s.csv = sweep_header(r, "test", "");
  RunToEnd run;
  s.outcome = run_sweep(r, run, [&s, &r](const SweepCell& c) {
    s.cells.push_back(c);
    append_cell_rows(r, c, s.csv);
    return true;
  });
  return s;
}

// ---- The kept points are those kestavor-cli simulate saves --------------------------

struct ExactCase {
  const char* name;
  const PanelBox* box;
  const char* option;
  double from, to;
  std::int64_t steps;
  SweepStart start;
  const char* extra_panel;  // base panel options besides the swept one
};

class SweepExactness : public ::testing::TestWithParam<ExactCase> {};

TEST_P(SweepExactness, KeptPointsAreTheSimulationsLinesAfterTheTransient) {
  const ExactCase& c = GetParam();
  SweepRequest r = orbit_request(*c.box, c.from, c.to, c.steps);
  r.start = c.start;
  r.threads = 2;
  std::string base_options = c.extra_panel;
  if (base_options.find("--drive-phase") != std::string::npos) {
    r.base.drive_phase = "0.3";
    r.base.time_out = "1";
  }
  const Swept s = sweep(r);
  ASSERT_EQ(s.outcome.status, Status::done) << s.outcome.reason;
  ASSERT_EQ(s.cells.size(), static_cast<std::size_t>(c.steps));
  const test::TempDir temp;
  const fs::path& dir = temp.path();
  for (std::int64_t i : {std::int64_t{1}, c.steps - 1}) {
    const SweepCell& cell = s.cells[static_cast<std::size_t>(i)];
    ASSERT_EQ(cell.state, CellState::ok);
    ASSERT_EQ(cell.points.size(), 8u);
    std::string start;
    if (c.start == SweepStart::follow) {
      // The start is the previous value's last kept point (the file rounds its phase).
      ASSERT_FALSE(cell.start_angle.empty());
      const double last_phase = s.cells[static_cast<std::size_t>(i - 1)].points.back().phase;
      EXPECT_NEAR(std::stod(cell.start_angle) - 3.14159, last_phase, 1e-9);
      start = " --initial-angle " + cell.start_angle + " --initial-velocity " + cell.start_velocity;
    }
    const fs::path poi = dir / ("cell" + std::to_string(i) + ".poi");
    ASSERT_EQ(cli("simulate --poincare 23 " + std::string(c.option) + " " + cell.x_text + " " +
                  base_options + start + " -o " + poi.string()),
              0);
    const std::vector<std::string> lines = split(read_file(poi), "\r\n");
    ASSERT_EQ(lines.size(), 25u);
    std::string rows;
    append_cell_rows(r, cell, rows);
    const std::vector<std::string> kept = split(rows, "\n");
    for (std::size_t k = 0; k < 8; ++k) {
      std::string point = kept[k].substr(cell.x_text.size() + 1);
      point[point.find(',')] = ' ';
      EXPECT_EQ(point, lines[2 + 15 + k]) << cell.x_text << " point " << k;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, SweepExactness,
    ::testing::Values(ExactCase{"amplitude_fresh", &kDriveAmplitudeBox, "--drive-amplitude", 0.0004,
                                0.00071, 7, SweepStart::fresh, ""},
                      ExactCase{"amplitude_follow", &kDriveAmplitudeBox, "--drive-amplitude",
                                0.0004, 0.00071, 4, SweepStart::follow, ""},
                      ExactCase{"frequency_phase", &kDriveFrequencyBox, "--drive-frequency", 5.5,
                                6.1, 3, SweepStart::fresh, "--drive-phase 0.3 --time-out 1"},
                      ExactCase{"damping_follow", &kDampingBox, "--damping", 0.00001, 0.00003, 5,
                                SweepStart::follow, "--drive-phase 0.3 --time-out 1"},
                      ExactCase{"velocity", &kInitialVelocityBox, "--initial-velocity", -2, 3.3, 3,
                                SweepStart::fresh, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The map's steps are the simulation's own: the tangent vectors ride along without
// changing a bit of the trajectory or the clock.
TEST(SweepExactness, TangentStepsLeaveTheTrajectoryAsTheSimulationsStep) {
  const DerivedParameters d = derive(PendulumParameters{});
  PendulumModel plain, carried;
  for (PendulumModel* m : {&plain, &carried}) {
    m->q_factor = d.q_factor;
    m->drive_amplitude = d.drive_amplitude * 1.7;
    m->drive_frequency = d.drive_frequency;
  }
  double a = 1, v = 0.3, ca = 1, cv = 0.3, time, ctime;
  Tangent t[2] = {{1, 0}, {0, 1}};
  for (int i = 0; i < 60000; ++i) {
    plain.advance_step(time, a, v, d.h);
    advance_with_tangents(carried, ctime, ca, cv, d.h, t, 2);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(a), std::bit_cast<std::uint64_t>(ca)) << i;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(v), std::bit_cast<std::uint64_t>(cv)) << i;
    ASSERT_EQ(plain.sim_time, carried.sim_time) << i;
  }
}

// ---- Threads ------------------------------------------------------------------------

TEST(SweepThreads, AnyThreadCountWritesTheSameBytes) {
  SweepRequest orbit = orbit_request(kDriveAmplitudeBox, 0.0003, 0.0007, 13);
  SweepRequest map = orbit_request(kDriveAmplitudeBox, 0.0003, 0.0007, 5);
  map.kind = SweepKind::lyapunov;
  map.y = {&kDampingBox, 0.00001, 0.00002, 3};
  map.start = SweepStart::follow;
  for (SweepRequest* r : {&orbit, &map}) {
    r->threads = 1;
    const std::string one = sweep(*r).csv;
    r->threads = 3;
    r->reorder_window = 2;  // workers wait for the writer
    const Swept three = sweep(*r);
    EXPECT_EQ(three.csv, one);
    EXPECT_EQ(three.outcome.cells, sweep_cells(*r));
    for (std::size_t i = 0; i < three.cells.size(); ++i)
      ASSERT_EQ(three.cells[i].index, static_cast<std::int64_t>(i));
  }
}

// HALT ends the sweep after the cell being handed on; the outcome says so.
TEST(SweepThreads, HaltStopsTheSweepAndSaysSo) {
  struct HaltAfter : RunControl {
    std::int64_t cells = 0;
    bool halt_requested() override { return cells >= 3; }
    void progress(std::int64_t done, std::int64_t) override { cells = done; }
  } run;
  SweepRequest r = orbit_request(kDriveAmplitudeBox, 0.0003, 0.0007, 40);
  r.threads = 2;
  std::int64_t seen = 0;
  const SweepOutcome o = run_sweep(r, run, [&seen](const SweepCell&) { return ++seen > 0; });
  EXPECT_EQ(o.status, Status::halted);
  EXPECT_EQ(seen, 3);
  EXPECT_EQ(o.cells, 3);
}

// ---- The exponent's known values ----------------------------------------------------

constexpr double kDampingOverInertia = 0.000017754 / 0.000009876;  // b / I, 1/s

TEST(SweepExponent, UndrivenPendulumNearRestDecaysAtHalfTheDampingRate) {
  PanelTexts p = startup_panel();
  p.drive_amplitude = "0";
  p.initial_angle = "0.001";
  p.initial_velocity = "0";
  double e[2];
  ASSERT_TRUE(lyapunov_spectrum(p, 5, 200, e));
  EXPECT_NEAR(e[0], -kDampingOverInertia / 2, 0.01 * kDampingOverInertia);
  EXPECT_NEAR(e[1], -kDampingOverInertia / 2, 0.01 * kDampingOverInertia);
  EXPECT_NEAR(e[0] + e[1], -kDampingOverInertia, 1e-4 * kDampingOverInertia);
}

struct ExponentCase {
  const char* name;
  const char* drive_amplitude;
  bool chaotic;
};

class SweepExponent : public ::testing::TestWithParam<ExponentCase> {};

// The two exponents sum to -b/I (the flow contracts areas at that rate), and the largest
// is negative for a period-1 orbit and positive for a chaotic one. On a chaotic orbit the
// lyapunov command's estimate from a simulated orbit file agrees in sign and rough size
// (its records are taken 7 ms apart, the simulation's 2 ms: its value times 3.5 is per
// second); on a periodic one it sees no growth to measure and is left out.
TEST_P(SweepExponent, HasTheKnownSignAndSumAndAgreesWithTheOrbitFilesEstimate) {
  const ExponentCase& c = GetParam();
  PanelTexts p = startup_panel();
  p.drive_amplitude = c.drive_amplitude;
  double e[2];
  ASSERT_TRUE(lyapunov_spectrum(p, 100, 400, e));
  EXPECT_NEAR(e[0] + e[1], -kDampingOverInertia, 1e-4 * kDampingOverInertia);

  SweepRequest r = orbit_request(kDriveAmplitudeBox, std::stod(c.drive_amplitude), 0, 1);
  r.kind = SweepKind::lyapunov;
  r.transient = 100;
  r.kept = 400;
  const Swept s = sweep(r);
  ASSERT_EQ(s.cells.size(), 1u);
  EXPECT_EQ(s.cells[0].exponent, e[0]);
  EXPECT_EQ(s.cells[0].period, c.chaotic ? 0 : 1);
  EXPECT_GT(c.chaotic ? e[0] : -e[0], 0.05) << e[0];
  if (!c.chaotic) return;

  const test::TempDir temp;
  const fs::path& dir = temp.path();
  const std::string pha = (dir / "o.pha").string();
  ASSERT_EQ(cli("simulate --orbit 12000 --time-out 100 --drive-amplitude " +
                std::string(c.drive_amplitude) + " -o " + pha),
            0);
  const test::CliRun lyapunov = test::run_cli("lyapunov --json --quiet " + pha);
  ASSERT_EQ(lyapunov.status, 0);
  const std::string& text = lyapunov.out;
  const double estimate = std::stod(text.substr(text.find(':') + 1)) * 3.5;
  EXPECT_GT(estimate, 0);
  EXPECT_LT(estimate, 4 * e[0]) << estimate << " vs " << e[0];
  EXPECT_GT(estimate, e[0] / 4) << estimate << " vs " << e[0];
}

INSTANTIATE_TEST_SUITE_P(Settings, SweepExponent,
                         ::testing::Values(ExponentCase{"period1", "0.0002", false},
                                           ExponentCase{"chaotic", "0.0005306", true},
                                           ExponentCase{"chaotic_strong", "0.0008", true},
                                           ExponentCase{"chaotic_weak", "0.00045", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Bad input and cells that blow up -----------------------------------------------

TEST(SweepInput, ACellThatBlowsUpIsMarkedAndCountedAndTheSweepGoesOn) {
  SweepRequest r = orbit_request(kDriveAmplitudeBox, 0.0005, 1e4, 3);
  const Swept s = sweep(r);
  ASSERT_EQ(s.outcome.status, Status::done);
  EXPECT_EQ(s.outcome.unstable, 2);
  EXPECT_EQ(s.cells[0].points.size(), 8u);
  EXPECT_NE(s.csv.find("\n10000,,\n"), std::string::npos);
  r.kind = SweepKind::lyapunov;
  EXPECT_NE(sweep(r).csv.find("\n10000,,unstable\n"), std::string::npos);
}

struct BadCase {
  const char* name;
  const char* args;
  const char* message;
};

class SweepRefusal : public ::testing::TestWithParam<BadCase> {};

TEST_P(SweepRefusal, IsRefusedBeforeAnyWorkNamingTheProblem) {
  const test::TempDir dir;
  const fs::path out = dir.path() / "s.csv";
  const test::CliRun r =
      test::run_cli(std::string("sweep ") + GetParam().args + " -o " + out.string());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, SweepRefusal,
    ::testing::Values(
        BadCase{"range_not_a_number", "--param drive-amplitude --from x --to 1 --steps 3",
                "\"x\" is not a number"},
        BadCase{"no_values", "--param drive-amplitude --from 0 --to 1 --steps 0", "at least 1"},
        BadCase{"empty_range", "--param drive-amplitude --from 1 --to 1 --steps 3",
                "from equals to"},
        BadCase{"unknown_parameter", "--param speed --from 1 --to 2", "--param: speed not in"},
        BadCase{"base_panel_refused",
                "--inertia 0 --param drive-amplitude --from 0 --to 1 --steps 2",
                "base panel: \"Inertia=\""},
        BadCase{"swept_value_refused", "--param inertia --from 0 --to 1 --steps 2",
                "\"Inertia=\" 0"},
        BadCase{"beyond_the_clock",
                "--param drive-amplitude --from 0 --to 1 --steps 2 --transient 40000",
                "Poincare points can be simulated"},
        BadCase{"unknown_map",
                "--param damping --from 0.1 --to 1 --steps 2 --param2 mgr --from2 1 --to2 2 "
                "--steps2 2 --map none",
                "--map: none not in {lyapunov}"},
        BadCase{"picture_not_png", "--param damping --from 0.1 --to 1 --steps 2 --png s.jpg",
                "ending in .png"}),
    [](const auto& info) { return std::string(info.param.name); });

// The picture option where the build can draw one.
std::string picture(const fs::path& png) {
#ifdef KV_HAVE_QT_PRINT
  return " --png " + png.string();
#else
  (void)png;
  return "";
#endif
}

TEST(SweepCli, WritesTheSameFileForAnyThreadCountWithARepeatableHeader) {
  const test::TempDir temp;
  const fs::path& dir = temp.path();
  const std::string args =
      "sweep --param drive-amplitude --from 0.0004 --to 0.0007 --steps 6 --param2 damping "
      "--from2 0.00001 --to2 0.00002 --steps2 2 --transient 20 --points 30 --quiet -o ";
  ASSERT_EQ(cli(args + (dir / "one.csv").string() + " --threads 1"), 0);
  ASSERT_EQ(cli(args + (dir / "two.csv").string() + " --threads 2" + picture(dir / "map.png")), 0);
  const std::string one = read_file(dir / "one.csv");
  EXPECT_EQ(read_file(dir / "two.csv"), one);
  const std::vector<std::string> lines = split(one, "\n");
  // The header's command line repeats the run.
  const std::string command = "# command: ";
  const auto repeat = std::find_if(lines.begin(), lines.end(),
                                   [&](const std::string& l) { return l.rfind(command, 0) == 0; });
  ASSERT_NE(repeat, lines.end());
  const std::string again = (dir / "again.csv").string();
  ASSERT_EQ(cli(repeat->substr(command.size() + 12) + " --quiet -o " + again), 0);
  EXPECT_EQ(read_file(again), one);
  EXPECT_NE(one.find("\nx,y,exponent,period\n"), std::string::npos);
  EXPECT_EQ(lines.size(), 8u + 12u + 1u);
#ifdef KV_HAVE_QT_PRINT
  EXPECT_EQ(read_file(dir / "map.png").substr(1, 3), "PNG");
#endif
}

// A dragged rectangle over a map: both axes over its region with the same steps, the values
// rounded within a quarter of a step, a range from high to low kept so.
TEST(SweepZoom, RectangleOfAMapBecomesItsRegionInBothAxes) {
  SweepRequest r = orbit_request(kDriveAmplitudeBox, 0.0, 1.0, 11);
  r.kind = SweepKind::lyapunov;
  r.y = {&kDampingBox, 2.0, 1.0, 5};
  SweepPicture p;
  p.begin(r, OrbitAxis::phase, 0, 100, 100);
  const SweepRequest z = zoomed_request(r, p, 0.5, 0.2, 0.25, 0.75);
  EXPECT_EQ(z.x.from, 0.2);
  EXPECT_EQ(z.x.to, 0.5);
  EXPECT_EQ(z.x.steps, 11);
  EXPECT_EQ(z.y.from, 1.8);  // 1.75 within a quarter of the step of 0.25
  EXPECT_EQ(z.y.to, 1.2);
  EXPECT_EQ(z.y.steps, 5);
}

// HALT through the session's run control stops the engine; the stopped sweep is not saved
// and the file of that name stays as it was.
TEST(SweepSession, HaltStopsTheSweepAndReplacesNoFile) {
  const test::TempDir dir;
  const std::string path = (dir.path() / "old.csv").string();
  test::write_file(path, "earlier\n");
  SweepSession s(100, 100);
  s.start(orbit_request(kDriveAmplitudeBox, 0.0004, 0.0007, 100000));
  s.halt();
  while (s.running()) {
    s.poll();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_TRUE(s.view().outcome.halted());
  EXPECT_LT(s.view().outcome.cells, 100000);
  EXPECT_EQ(s.save_data(path, "test"),
            "The sweep did not run to its end: " + path + " was not written.");
  EXPECT_EQ(read_file(path), "earlier\n");
}

}  // namespace
