// Plot file: orbit, Poincare and spectrum files, written by this program's recordings,
// its simulation and in its line formats, drawn again; where points land (velocity
// upward), what is stored for printing (row counters, velocity limits, the Poincare print
// value), and every ending: HALT, Clear, unreadable items, short spectrum files and
// unrecognised kinds, with the panel restored.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "acquisition/recording.h"
#include "acquisition/sample_record.h"
#include "acquisition/sample_sinks.h"
#include "app/commands/commands.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "chaos/dimension.h"
#include "fft/plot_file.h"
#include "fft/spectrum_plot.h"
#include "platform/clock.h"
#include "platform/colors.h"
#include "plot/phase_plot.h"
#include "plot/plot_state.h"
#include "plot/poincare_plot.h"
#include "simulation/demo_box.h"
#include "tests/simulation/sim_support.h"
#include "tests/support/data_files.h"
#include "tests/support/plot_parts.h"
#include "tests/support/recording_printer.h"
#include "tests/support/scripted_services.h"

namespace kv {
namespace {

using test::OrbitRecord;

class PlotFile : public ::testing::Test {
 protected:
  test::TempDir dir;
  ScriptedServices s;
  Form1 f{s.services()};
  RunToEnd to_end;

  PlotFileContext context() { return {f, f, f, f}; }
  PlotFileOutcome plot(const std::string& name, const std::string& text, int range_value = 0,
                       RunControl* run = nullptr) {
    return plot_file(context(), PlotFileRequest{dir.write(name, text), range_value},
                     run ? *run : to_end);
  }
  double centre1() const { return zero_velocity_y(f.Picture1); }
  double centre2() const { return zero_velocity_y(f.Picture2); }
};

// The raster row of a plot's solid red zero-velocity line: of the rows red at three
// neighbouring columns left of the centre (not the dotted grid lines), the one nearest the
// middle (not the Poincare plot's frame).
int red_axis_row(const Surface& p) {
  const int x = p.to_px(p.Width() * 0.3f);
  int row = -1;
  for (int y = 0; y < p.pixel_height(); ++y)
    if (p.pixel(x, y) == kRed && p.pixel(x + 1, y) == kRed && p.pixel(x + 2, y) == kRed &&
        std::abs(2 * y - p.pixel_height()) < std::abs(2 * row - p.pixel_height()))
      row = y;
  return row;
}

// A velocity of 0 lands on the red zero-velocity line of both plots, whichever source
// placed it: the live acquisition, Plot file, Dimension and the simulation.
bool on_axis(const Surface& p, double y) {
  return p.to_py(static_cast<float>(y)) == red_axis_row(p);
}

TEST_F(PlotFile, ZeroVelocityLiesOnTheZeroVelocityLine) {
  grid(f);
  setup_phase_plot(f);
  PlotSink sink(f);
  DecodedSample rest{.angle_count = 1000};
  sink.take(rest);
  EXPECT_TRUE(on_axis(f.Picture1, f.phase_y)) << "acquisition";
  rest.poincare_event = true;
  sink.take(rest);
  EXPECT_TRUE(on_axis(f.Picture2, f.poincare_y)) << "acquisition";

  ASSERT_EQ(plot("z.pha", test::orbit_file({{0.002, 1.0, 0.0, 0}})).status, Status::done);
  EXPECT_TRUE(on_axis(f.Picture1, f.phase_y)) << "Plot file";
  ASSERT_EQ(plot("z.poi", test::poincare_file({{1.0, 0.0}})).status, Status::done);
  EXPECT_TRUE(on_axis(f.Picture2, f.poincare_y)) << "Plot file";

  f.poincare_y = 0;
  const std::string poi = dir.write("d.poi", test::poincare_file({{1.0, 0.0}}));
  capacity_dimension_of_file(f, DimensionRequest{poi}, to_end);
  EXPECT_TRUE(on_axis(f.Picture2, f.poincare_y)) << "Dimension";

  // A pendulum at rest with no drive stays at V = 0 through its drive cycles.
  test::SimForm sim;
  sim.computer_time();
  for (Ctl c : {Ctl::Text22, Ctl::Text24, Ctl::Text25}) sim.f.ui.set_text(c, "0");
  sim.halt_after(3000);
  Command21_Click(sim.f);
  ASSERT_NE(sim.f.marker_y, 200) << "no drive cycle was sampled";
  EXPECT_TRUE(on_axis(sim.f.Picture1, sim.f.phase_y)) << "simulation";
  EXPECT_TRUE(on_axis(sim.f.Picture2, sim.f.poincare_y)) << "simulation";
}

TEST_F(PlotFile, OrbitPhaseMapsBackToCountsAndVelocityIsDrawnUpward) {
  // Phase -3.14159 is count 0 (the centre), phase 0 is count 2000 (the left edge).
  f.FFT_flag = kTrue;  // an orbit file leaves the phase page for Print
  auto out = plot("a.pha", test::orbit_file({{0.002, -3.14159, -7.29, 0}}));
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(out.kind, PlotFileOutcome::Kind::orbit);
  EXPECT_EQ(f.FFT_flag, kFalse);
  EXPECT_EQ(f.phase_counts, 0);
  EXPECT_EQ(f.plot_x, std::floor(f.Picture1.Width() * 2000.0 / 4000));
  // omega = -7.29 rad/s lies below the centre line, where the label -7.3 is.
  const double v = -7.29 / 0.1569673;
  EXPECT_EQ(f.phase_y, clng(centre1() - 10 * v));
  EXPECT_GT(f.phase_y, centre1());
  // The stored row keeps 10 V, unchanged.
  EXPECT_EQ(f.orbit_points.at(1, 2), cint(10 * v));
  EXPECT_EQ(f.cnt, 1);

  out = plot("b.pha", test::orbit_file({{0.002, 0.0, 7.29, 0}}));
  EXPECT_EQ(f.phase_counts, 2000);
  EXPECT_EQ(f.plot_x, 0);
  EXPECT_LT(f.phase_y, centre1());
}

TEST_F(PlotFile, PoincarePointAndItsMarkerLandAboveTheCentreForAPositiveVelocity) {
  f.FFT_flag = kTrue;  // a Poincare file leaves the phase page for Print
  auto out = plot("a.poi", test::poincare_file({{1.5707963, 7.29}, {-1.0, -7.29}}));
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(out.records, 2);
  const double v = -7.29 / 0.1569673;
  EXPECT_DOUBLE_EQ(f.poincare_y, centre2() - 10 * v);
  EXPECT_EQ(f.marker_y, clng(centre2() - 10 * v));
  // The first point: pi/2 is count 3000, folded to -1000; its print value is 1.5 x the
  // folded count, as the acquisition stores it (no 3000 added).
  EXPECT_EQ(f.poincare_points.at(1, 1), -1500);
  EXPECT_EQ(f.poincare_points.at(1, 2), cint(10 * 7.29 / 0.1569673));
  EXPECT_EQ(f.poincare_cnt, 2);
  EXPECT_EQ(f.FFT_flag, kFalse);
  EXPECT_EQ(f.ui[Ctl::Label2].text, "Poincare plot");
}

TEST_F(PlotFile, ProgressIsReportedAsTheShareOfTheFileRead) {
  std::vector<test::OrbitRecord> records;
  for (int i = 0; i < 50; ++i) records.push_back({0.002 * i, 0.5, 1.0, 0});
  const std::string text = test::orbit_file(records);
  ScriptedRunControl run;
  ASSERT_EQ(plot("p.pha", text, 0, &run).status, Status::done);
  ASSERT_EQ(run.progress_reports.size(), 50u);
  for (std::size_t k = 1; k < run.progress_reports.size(); ++k)
    EXPECT_GT(run.progress_reports[k].first, run.progress_reports[k - 1].first);
  EXPECT_EQ(run.progress_reports.back().second, static_cast<std::int64_t>(text.size()));
  EXPECT_GE(run.progress_reports.back().first, static_cast<std::int64_t>(text.size()) - 2);
  EXPECT_EQ(plotting_progress_text("/data/run.pha", 41, 100), "Plotting run.pha: 41 %");
}

TEST_F(PlotFile, VelocityStoreLimitsAreSymmetric) {
  const double k = 0.1569673;
  auto out = plot("a.pha", test::orbit_file({{0.002, 0, -3500 * k, 0},
                                             {0.004, 0, 3500 * k, 0},
                                             {0.006, 0, -2999 * k, 0},
                                             {0.008, 0, 2999 * k, 0}}));
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(f.orbit_points.at(1, 2), 0);
  EXPECT_EQ(f.orbit_points.at(2, 2), 0);
  EXPECT_EQ(f.orbit_points.at(3, 2), cint(10 * std::round(-2999 * k * 1e4) / 1e4 / k));
  EXPECT_EQ(f.orbit_points.at(4, 2), cint(10 * std::round(2999 * k * 1e4) / 1e4 / k));

  // Poincare: |10 V| < 30000 is stored, 500 rad/s either way (10 V about 31854) is not.
  out = plot("a.poi", test::poincare_file({{0.1, 500}, {0.1, -500}, {0.1, -400}}));
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(f.poincare_points.at(1, 2), 0);
  EXPECT_EQ(f.poincare_points.at(2, 2), 0);
  EXPECT_EQ(f.poincare_points.at(3, 2), cint(-4000 / k));
}

TEST_F(PlotFile, RowCountersSaturateSoAMillionAndOneRecordsDrawToTheEnd) {
  std::string text = format_print_integer(1000000) + "\r\nPHASE\r\n";
  text.reserve(30'000'000);
  char line[160];
  for (long i = 0; i <= 1000000; ++i) {
    text.append(line, format_orbit_line(line, i * 0.002, std::sin(i * 0.01) * 3,
                                        std::cos(i * 0.01) * 10, 0));
    text += "\r\n";
  }
  auto out = plot("big.pha", text);
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(out.records, 1000001);
  // 999999 -> 1000000 -> 999999 -> ... : the last of 1000001 advances lands on 999999.
  EXPECT_EQ(f.cnt, 999999);

  std::string poi = format_print_integer(1000002) + "\r\nPOINCARE\r\n";
  for (long i = 0; i < 1000002; ++i) {
    poi.append(line, format_poincare_line(line, std::sin(i * 0.3), std::cos(i * 0.7) * 5));
    poi += "\r\n";
  }
  out = plot("big.poi", poi);
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(out.records, 1000002);
  EXPECT_EQ(f.poincare_cnt, 1000000);
}

TEST_F(PlotFile, AtRangeZeroStaleRowsOfAnEarlierCommandDoNotHoldTheCounterBack) {
  // What a spectrum left in the rows: values beyond 6000 and below 0.
  for (int i = 0; i <= 20; ++i) f.orbit_points.at(i, 1) = i % 2 ? 7000 : -5;
  std::vector<OrbitRecord> r;
  for (int i = 1; i <= 10; ++i) r.push_back({i * 0.002, 0.3, 1.0, 0});
  auto out = plot("a.pha", test::orbit_file(r));
  ASSERT_EQ(out.status, Status::done);
  EXPECT_EQ(f.cnt, 10);
}

TEST_F(PlotFile, AtAWideRangeARowBeyondThePageIsDroppedButTheCounterStaysAtZeroOrAbove) {
  // Range value 1: R = 2. Phase 3 pi is count 8000: 8000 x 1.5 / 3 + 3000 = 7000 > 6000.
  auto out = plot("a.pha", test::orbit_file({{0.002, 3 * 3.14159, 1.0, 0}}), 1);
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(f.cycle_number, 2);
  EXPECT_EQ(f.cnt, 0);
  // An ordinary record at R = 2 keeps its row.
  out = plot("b.pha", test::orbit_file({{0.002, 0.5, 1.0, 0}, {0.004, 0.6, 1.0, 1}}), 1);
  EXPECT_EQ(f.cnt, 2);
}

TEST_F(PlotFile, SpectrumFileIsPlottedFromItsFirst465Lines) {
  // Line 3 of the power column holds a bare point (too small for the pattern): it plots
  // at 0.0001. Lines beyond 465 are never read, even when they are not numbers.
  std::string text = test::spectrum_file(512, [](int j) { return j == 3 ? 1e-12 : 1.0 + j; });
  text += "junk junk\r\n";
  f.lyapunov_exponent = 0.25;
  auto out = plot("a.fft", text);
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(out.kind, PlotFileOutcome::Kind::spectrum);
  EXPECT_EQ(f.FFT_flag, kTrue);
  EXPECT_EQ(f.window, "Welch");
  EXPECT_EQ(f.fft_points, 2048);
  EXPECT_EQ(f.spectrum[3], kSpectrumFloor);
  EXPECT_EQ(f.spectrum[465], 466.0f);
  EXPECT_EQ(f.cnt, 465);
  EXPECT_EQ(f.ui[Ctl::Label3].text, "Fourier Spectrum");
  // No Lyapunov exponent belongs to a spectrum from a file.
  EXPECT_TRUE(std::isnan(f.lyapunov_exponent));
}

TEST_F(PlotFile, ASpectrumFileWithTooFewLinesIsToldAndNothingIsPlotted) {
  const auto serial = f.Picture1.serial();
  auto out = plot("short.fft", test::spectrum_file(464, [](int) { return 1.0; }));
  EXPECT_EQ(out.status, Status::failed);
  EXPECT_NE(out.reason.find("short.fft"), std::string::npos);
  EXPECT_NE(out.reason.find("464"), std::string::npos) << out.reason;
  EXPECT_EQ(f.FFT_flag, kFalse);
  EXPECT_EQ(f.Picture1.serial(), serial);
}

TEST_F(PlotFile, AnItemThatIsNotANumberIsToldWithItsLineAndWhatIsDrawnStays) {
  std::string text = test::orbit_file({{0.002, 0.5, 1.0, 0}, {0.004, 0.6, 1.0, 0}});
  text += "0.006 0.7 abc 0\r\n";
  auto out = plot("bad.pha", text);
  EXPECT_EQ(out.status, Status::failed);
  EXPECT_EQ(out.records, 2);
  EXPECT_EQ(f.cnt, 2);
  EXPECT_NE(out.reason.find("bad.pha"), std::string::npos);
  EXPECT_NE(out.reason.find("line 5"), std::string::npos) << out.reason;

  std::string poi = test::poincare_file({{0.5, 1.0}});
  poi += "0.5\r\n";  // the velocity is missing
  out = plot("bad.poi", poi);
  EXPECT_EQ(out.status, Status::failed);
  EXPECT_EQ(out.records, 1);
  EXPECT_NE(out.reason.find("bad.poi"), std::string::npos) << out.reason;
}

TEST_F(PlotFile, LowerCaseKindAndMissingFilesAreNotDrawn) {
  const auto serial1 = f.Picture1.serial(), serial2 = f.Picture2.serial();
  auto out = plot("a.pha", " 1 \r\nphase\r\n0.002 0.5 1.0 0\r\n");
  EXPECT_EQ(out.status, Status::refused);
  EXPECT_NE(out.reason.find("\"phase\""), std::string::npos);
  EXPECT_EQ(f.Picture1.serial(), serial1);
  EXPECT_EQ(f.Picture2.serial(), serial2);
  out = plot_file(context(), PlotFileRequest{dir.file("none.pha"), 0}, to_end);
  EXPECT_EQ(out.status, Status::failed);
  EXPECT_NE(out.reason.find("none.pha"), std::string::npos);
}

TEST_F(PlotFile, AnEmptyOrbitFilePreparesThePlotAndHidesTheRangeControl) {
  f.ui.set_visible(Ctl::HScroll1, true);
  f.ui.set_visible(Ctl::Text3, true);
  auto out = plot("empty.pha", " 0 \r\nPHASE\r\n");
  EXPECT_EQ(out.status, Status::done);
  EXPECT_EQ(out.records, 0);
  EXPECT_TRUE(f.ui[Ctl::Picture1].visible);
  EXPECT_FALSE(f.ui[Ctl::HScroll1].visible);
  EXPECT_FALSE(f.ui[Ctl::Text3].visible);
}

TEST_F(PlotFile, HaltStopsAPoincareFileAndClearRestartsAnOrbitPlot) {
  std::vector<std::pair<double, double>> pts(50, {0.5, 1.0});
  ScriptedRunControl halt;
  halt.halt_at = 21;
  auto out = plot("a.poi", test::poincare_file(pts), 0, &halt);
  EXPECT_EQ(out.status, Status::halted);
  EXPECT_EQ(out.records, 20);
  EXPECT_EQ(f.poincare_cnt, 20);

  std::vector<OrbitRecord> r;
  for (int i = 1; i <= 30; ++i) r.push_back({i * 0.002, 0.5, 1.0, 0});
  ScriptedRunControl clear_at_10;
  clear_at_10.clear_at = {10};
  out = plot("a.pha", test::orbit_file(r), 0, &clear_at_10);
  EXPECT_EQ(out.status, Status::done);
  EXPECT_EQ(f.cnt, 21);  // restarted after the 10th record: 1 + 20 rows
}

TEST_F(PlotFile, FilesRecordedFromTheDemoBoxDrawAlike) {
  ComputerClock clock;
  ASSERT_TRUE(record_from_box(std::make_unique<DemoBox>(false),
                              {RecordingKind::Orbit, 3000, dir.file("demo.pha")}, clock, to_end)
                  .kept);
  ASSERT_TRUE(record_from_box(std::make_unique<DemoBox>(false),
                              {RecordingKind::Poincare, 20, dir.file("demo.poi")}, clock, to_end)
                  .kept);

  auto out = plot_file(context(), PlotFileRequest{dir.file("demo.pha"), 0}, to_end);
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(out.records, 3001);
  EXPECT_EQ(f.cnt, 3001);
  out = plot_file(context(), PlotFileRequest{dir.file("demo.poi"), 0}, to_end);
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(out.records, 21);
  EXPECT_EQ(f.poincare_cnt, 21);
}

TEST_F(PlotFile, CommandRestoresThePanelAndTellsWhatIsWrong) {
  f.ui.set_enabled(Ctl::Text18, false);
  s.timer1.on = true;
  s.dialogs.open_answers.push_back(dir.write("a.pha", test::orbit_file({{0.002, 0.5, 1.0, 0}})));
  plot_file_command(f);
  EXPECT_EQ(f.plot_flag, kTrue);  // cleared by the next Timer1 tick
  EXPECT_TRUE(s.timer1.on);
  EXPECT_FALSE(f.ui[Ctl::Text18].enabled);
  EXPECT_EQ(f.ui[Ctl::Text18].back_color, kGrey);
  EXPECT_EQ(f.ui[Ctl::Text8].back_color, kGrey);
  EXPECT_EQ(s.dialogs.count("message"), 0);
  EXPECT_EQ(f.ui[Ctl::Text58].text, "Plotted a.pha: 1 point");  // no "Plotting a.pha: 1 %"

  s.dialogs.open_answers.push_back(dir.write("x.pha", " 1 \r\nPHASE\r\n0.002 x 1 0\r\n"));
  plot_file_command(f);
  ASSERT_EQ(s.dialogs.count("message"), 1);
  EXPECT_NE(s.dialogs.shown.back().text.find("x.pha"), std::string::npos);
  EXPECT_NE(s.dialogs.shown.back().text.find("line 3"), std::string::npos);
  EXPECT_EQ(f.ui[Ctl::Text58].text, s.dialogs.shown.back().text);
  EXPECT_TRUE(s.timer1.on);

  plot_file_command(f);  // Cancel
  EXPECT_EQ(s.dialogs.count("message"), 1);
  EXPECT_FALSE(f.ui[Ctl::Text18].enabled);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// The state Plot file and Print work on, without a window.
struct Groups {
  PlotState plots;
  SpectrumState spectrum;
  ChaosState chaos;
  SaveState save;
  test::RecordingPlotView view;
  Groups() { plots.view = &view; }
  PlotFileContext context() { return {plots, spectrum, chaos, save}; }
};

std::vector<OrbitRecord> turning_orbit() {
  std::vector<OrbitRecord> r;
  for (int i = 1; i <= 400; ++i)
    r.push_back({i * 0.002, std::sin(i * 0.05) * 3, std::cos(i * 0.05) * 5, i / 150});
  return r;
}

// The engine with a request on the state groups alone: it prepares the phase plot at the
// request's range through the view, repaints once before drawing and ends the saving. (It
// draws and stores what the window's command does: tests/faces.)
TEST(PlotFileRequest, RunsOnTheStateGroupsAloneAtTheRequestsRange) {
  test::TempDir dir;
  const std::string path = dir.write("a.pha", test::orbit_file(turning_orbit()));
  Groups g;
  g.spectrum.FFT_flag = kTrue;
  g.save.saving = kTrue;
  RunToEnd to_end;
  const PlotFileOutcome out = plot_file(g.context(), PlotFileRequest{path, 1}, to_end);
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(out.records, 400);
  EXPECT_EQ(g.view.range, 1);
  EXPECT_EQ(g.plots.cycle_number, 2);
  EXPECT_EQ(g.spectrum.FFT_flag, kFalse);
  EXPECT_EQ(g.save.saving, kFalse);
  for (PlotPart part : {PlotPart::phase_plot, PlotPart::phase_velocity_scale,
                        PlotPart::phase_velocity_title, PlotPart::phase_title})
    EXPECT_TRUE(g.view.visible(part)) << static_cast<int>(part);
  for (PlotPart part : {PlotPart::phase_angle_scale, PlotPart::poincare_plot,
                        PlotPart::poincare_title, PlotPart::range_scroll, PlotPart::range_text})
    EXPECT_TRUE(g.view.hidden(part)) << static_cast<int>(part);
  EXPECT_EQ(g.view.titles[PlotPart::phase_title], "Phase plot");
  EXPECT_EQ(g.view.repaints, 1);
}

// A spectrum file becomes the spectrum of the groups, without a Lyapunov exponent, and
// Print makes its spectrum page from the three groups alone.
TEST(PlotFileRequest, ASpectrumFileOnTheGroupsAloneIsPrintedAsTheSpectrumPage) {
  test::TempDir dir;
  const std::string path = dir.write("s.fft", test::spectrum_file(
                                                  512, [](int j) { return 1.0 / j; }, "Parzen"));
  Groups g;
  g.chaos.lyapunov_exponent = 0.5;
  RunToEnd to_end;
  const PlotFileOutcome out = plot_file(g.context(), PlotFileRequest{path, 0}, to_end);
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(g.spectrum.window, "Parzen");
  EXPECT_EQ(g.spectrum.FFT_flag, kTrue);
  EXPECT_TRUE(std::isnan(g.chaos.lyapunov_exponent));
  EXPECT_EQ(g.view.titles[PlotPart::phase_title], "Fourier Spectrum");
  EXPECT_EQ(g.plots.cnt, 465);

  ASSERT_TRUE(page_has_content(g.plots, g.spectrum));
  RecordingPrinter page;
  ASSERT_EQ(print_page(g.plots, g.spectrum, g.chaos, page).status, Status::done);
  EXPECT_EQ(page.documents, 1);
  bool window = false, exponent = false;
  for (const auto& t : page.texts) {
    window = window || t.text == "Parzen";
    exponent = exponent || t.text == "Lyapunov exponent=";
  }
  EXPECT_TRUE(window);
  EXPECT_TRUE(exponent) << "printed without a value";
  EXPECT_TRUE(page.dots.empty()) << "the spectrum page joins its points";
}

}  // namespace
}  // namespace kv
