// Capacity dimension: the box counts against a direct count of the box table, the worked
// examples (a row of boxes gives D = 1.09148, shown as 1.0915), the 5000-point limit, the
// uncounted boxes, the undefined dimension, HALT, and the "Dimension" command's endings
// (cancel, orbit file refused, unreadable file) with the panel restored every time.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <tuple>

#include "app/commands/commands.h"
#include "app/state/form1.h"
#include "chaos/dimension.h"
#include "datafiles/data_lines.h"
#include "tests/support/data_files.h"
#include "tests/support/plot_parts.h"
#include "tests/support/scripted_services.h"

namespace kv {
namespace {

constexpr double kPi = 3.14159265358979;

std::string poincare_text(const std::vector<std::pair<double, double>>& points, long header = -1) {
  std::string t = format_print_integer(header < 0 ? static_cast<long>(points.size()) : header) +
                  "\r\nPOINCARE\r\n";
  char line[160];
  for (const auto& [phi, v] : points) {
    t.append(line, format_sim_poincare_line(line, phi, v));
    t += "\r\n";
  }
  return t;
}

// 5000 points at velocity 10 with phases spread evenly over -pi..pi.
std::vector<std::pair<double, double>> row_of_points(int n = 5000) {
  std::vector<std::pair<double, double>> p;
  for (int k = 0; k < n; ++k) p.push_back({-kPi + 2 * kPi * (k + 0.5) / n, 10});
  return p;
}

// The count as the design makes it: a full table of marks, counted over 1..s-1.
std::array<std::int32_t, kDimensionLevels> direct_count(
    const std::vector<std::pair<int, double>>& points) {
  std::set<std::tuple<int, int, int>> marks;
  for (const auto& [counts, v] : points) {
    for (int e = 0; e < kDimensionLevels; ++e) {
      const int s = 1 << (e + 1);
      const double ix = std::nearbyint(counts / 4000.0 * s - 0.5);
      const double iy = std::nearbyint((v + 140) / 280 * s - 0.5);
      if (ix >= 0 && ix <= 1024 && iy >= 0 && iy <= 1024)
        marks.insert({e, static_cast<int>(ix), static_cast<int>(iy)});
    }
  }
  std::array<std::int32_t, kDimensionLevels> t{};
  for (const auto& [e, ix, iy] : marks) {
    const int s = 1 << (e + 1);
    if (ix >= 1 && ix <= s - 1 && iy >= 1 && iy <= s - 1) ++t[e];
  }
  return t;
}

class Dimension : public ::testing::Test {
 protected:
  test::TempDir dir;
  ScriptedServices s;
  Form1 f{s.services()};
  RunToEnd to_end;

  DimensionOutcome run_file(const std::string& text, RunControl* run = nullptr) {
    const std::string path = dir.write("p.poi", text);
    return capacity_dimension_of_file(f, DimensionRequest{path}, run ? *run : to_end);
  }
  void expect_panel_restored() {
    EXPECT_FALSE(f.ui[Ctl::Text18].enabled);
    EXPECT_EQ(f.ui[Ctl::Text18].back_color, kGrey);
    EXPECT_TRUE(s.timer1.on);
  }
};

TEST(BoxCounter, CountsAsTheFullTableOfMarksDoes) {
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> counts(-50, 4050);
  std::uniform_real_distribution<double> vel(-170, 450);
  std::vector<std::pair<int, double>> points;
  BoxCounter boxes;
  for (int i = 0; i < 20000; ++i) {
    points.push_back({counts(gen), vel(gen)});
    boxes.mark(points.back().first, points.back().second);
  }
  EXPECT_EQ(boxes.totals(), direct_count(points));
  boxes.clear();
  EXPECT_EQ(boxes.totals(), (std::array<std::int32_t, kDimensionLevels>{}));
}

TEST(BoxCounter, TheCentreOfTheGridIsInAnUncountedBoxAtLevelZero) {
  // phi = 0, v = 0: a = 0.5, ix = iy = round(0.5) = 0 (half to even) at s = 2.
  BoxCounter boxes;
  boxes.mark(2000, 0);
  const auto t = boxes.totals();
  EXPECT_EQ(t[0], 0);
  for (int e = 1; e < kDimensionLevels; ++e) EXPECT_EQ(t[e], 1) << e;
}

TEST(BoxCounter, BoxesAtTheFarEdgeAreNotCounted) {
  BoxCounter boxes;
  boxes.mark(4000, 10);   // index s in phase
  boxes.mark(1000, 140);  // index s in velocity
  EXPECT_EQ(boxes.totals(), (std::array<std::int32_t, kDimensionLevels>{}));
}

TEST(DimensionText, FormatsAsTheStatusTextShowsIt) {
  EXPECT_EQ(dimension_text(1.23456, 12), "Capacity dimension=1.2346\r\nNumber of points=12");
  EXPECT_EQ(dimension_text(0.5, 3), "Capacity dimension=.5\r\nNumber of points=3");
  EXPECT_EQ(dimension_text(std::nan(""), 1), "Capacity dimension=undefined\r\nNumber of points=1");
}

TEST(DimensionText, SlopeOfARowOfBoxesAndTheUndefinedCase) {
  std::array<std::int32_t, kDimensionLevels> t{};
  for (int e = 0; e < kDimensionLevels; ++e) t[e] = (2 << e) - 1;
  EXPECT_NEAR(capacity_dimension(t), 1.09148, 5e-6);
  // Every counted box of the square: the logarithms double, and so does the slope.
  for (int e = 0; e < kDimensionLevels; ++e) t[e] = ((2 << e) - 1) * ((2 << e) - 1);
  EXPECT_NEAR(capacity_dimension(t), 2 * 1.09148, 1e-5);
  t[4] = 0;
  EXPECT_TRUE(std::isnan(capacity_dimension(t)));
}

TEST_F(Dimension, ReadsAtMostFiveThousandPoints) {
  const DimensionOutcome out = run_file(poincare_text(row_of_points(6000)));
  EXPECT_EQ(out.points, 5000);
  EXPECT_NE(out.text.find("Number of points=5000"), std::string::npos);
}

TEST_F(Dimension, PositiveVelocityIsDrawnAboveTheCentreLine) {
  run_file(poincare_text({{0.3, 10}}));
  const double centre = zero_velocity_y(f.Picture2);
  EXPECT_NEAR(f.poincare_y, centre - 10 * 10 / 0.1569673, 1e-9);
  EXPECT_LT(f.marker_y, centre);  // the marker cross follows the point
}

TEST_F(Dimension, PointsOutsideTheGridAreDrawnButNotMarked) {
  // Velocities of -200 and 1000 rad/s give box indexes below 0 and beyond 1024.
  const DimensionOutcome out = run_file(poincare_text({{0.1, -200}, {0.2, 1000}}));
  EXPECT_EQ(out.points, 2);
  EXPECT_EQ(out.box_totals, (std::array<std::int32_t, kDimensionLevels>{}));
  EXPECT_EQ(out.status, Status::refused);
  EXPECT_EQ(out.text, "Capacity dimension=undefined\r\nNumber of points=2");
  EXPECT_TRUE(std::isnan(out.dimension));
}

TEST_F(Dimension, HaltEndsTheReadingAndTheEstimateUsesThePointsRead) {
  ScriptedRunControl halt;
  halt.halt_at = 101;
  const DimensionOutcome out = run_file(poincare_text(row_of_points()), &halt);
  EXPECT_EQ(out.status, Status::halted);
  EXPECT_EQ(out.points, 100);
  EXPECT_NE(out.text.find("Number of points=100"), std::string::npos);
}

TEST_F(Dimension, CommandShowsTheResultAndRestoresThePanel) {
  s.dialogs.open_answers.push_back(dir.write("row.poi", poincare_text(row_of_points())));
  dimension_command(f);
  EXPECT_EQ(f.ui[Ctl::Text67].text, "Capacity dimension=1.0915\r\nNumber of points=5000");
  EXPECT_TRUE(f.ui[Ctl::Text67].visible);
  EXPECT_TRUE(f.ui[Ctl::Picture2].visible);
  EXPECT_EQ(f.ui[Ctl::Label2].text, "Poincare plot");
  EXPECT_EQ(s.dialogs.count("message"), 0);
  expect_panel_restored();
}

TEST_F(Dimension, CommandRefusesAnOrbitFileSayingWhyAndRestoresThePanel) {
  s.dialogs.open_answers.push_back(
      dir.write("o.pha", test::orbit_text(10, 10, [](long) { return 1.0; })));
  const DimensionOutcome out = dimension_command(f);
  EXPECT_EQ(out.status, Status::refused);
  ASSERT_EQ(s.dialogs.count("message"), 1);
  EXPECT_NE(s.dialogs.shown.back().text.find("needs a Poincare file"), std::string::npos);
  EXPECT_FALSE(f.ui[Ctl::Text67].visible);
  expect_panel_restored();
}

TEST_F(Dimension, CommandTellsAMissingOrBrokenFileAndKeepsWhatIsDrawn) {
  s.dialogs.open_answers.push_back(dir.file("none.poi"));
  dimension_command(f);
  ASSERT_EQ(s.dialogs.count("message"), 1);
  EXPECT_NE(s.dialogs.shown.back().text.find("none.poi"), std::string::npos);
  expect_panel_restored();

  std::string text = poincare_text(row_of_points(20));
  text += "0.5\r\n";  // a record without its velocity
  s.dialogs.open_answers.push_back(dir.write("short.poi", text));
  const DimensionOutcome out = dimension_command(f);
  EXPECT_EQ(out.points, 20);
  ASSERT_EQ(s.dialogs.count("message"), 2);
  EXPECT_NE(s.dialogs.shown.back().text.find("short.poi"), std::string::npos);
  EXPECT_NE(s.dialogs.shown.back().text.find("line 23"), std::string::npos)
      << s.dialogs.shown.back().text;
  EXPECT_TRUE(f.ui[Ctl::Picture2].visible);  // the 20 points drawn stay
  expect_panel_restored();
}

TEST_F(Dimension, CancelEndsTheCommandWithNothingChanged) {
  f.ui.set_enabled(Ctl::Text18, false);  // as after start-up
  dimension_command(f);
  EXPECT_EQ(s.dialogs.count("open"), 1);
  EXPECT_EQ(s.dialogs.count("message"), 0);
  EXPECT_FALSE(f.ui[Ctl::Text18].enabled);
  EXPECT_TRUE(s.timer1.on);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// The engine with a request on the plots alone: it shows the Poincare plot's parts through
// the view and repaints once before the points. (It draws what the window's command draws:
// tests/faces.)
TEST(DimensionRequest, RunsOnThePlotsAloneAndShowsThePoincarePlot) {
  test::TempDir dir;
  const std::string path = dir.write("row.poi", poincare_text(row_of_points()));
  PlotState plots;
  test::RecordingPlotView view;
  plots.view = &view;
  RunToEnd to_end;
  const DimensionOutcome out = capacity_dimension_of_file(plots, DimensionRequest{path}, to_end);
  ASSERT_EQ(out.status, Status::done) << out.reason;
  EXPECT_EQ(out.points, 5000);
  for (int e = 0; e < kDimensionLevels; ++e) EXPECT_EQ(out.box_totals[e], (2 << e) - 1) << e;
  EXPECT_EQ(out.text, "Capacity dimension=1.0915\r\nNumber of points=5000");
  EXPECT_EQ(plots.number_of_points, 5000);
  for (PlotPart part : {PlotPart::poincare_plot, PlotPart::poincare_velocity_title,
                        PlotPart::poincare_velocity_scale, PlotPart::poincare_angle_scale})
    EXPECT_TRUE(view.visible(part)) << static_cast<int>(part);
  EXPECT_EQ(view.titles[PlotPart::poincare_title], "Poincare plot");
  EXPECT_EQ(view.repaints, 1);

  // An orbit file is refused before anything is shown.
  PlotState untouched;
  test::RecordingPlotView quiet;
  untouched.view = &quiet;
  const DimensionOutcome refused = capacity_dimension_of_file(
      untouched,
      DimensionRequest{dir.write("o.pha", test::orbit_text(10, 10, [](long) { return 1.0; }))},
      to_end);
  EXPECT_EQ(refused.status, Status::refused);
  EXPECT_TRUE(quiet.shown.empty());
}

}  // namespace
}  // namespace kv
