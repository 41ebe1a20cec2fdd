// The printed page on a recording printer surface: which page is made, where stored
// points land (velocity upward on the phase page, the spectrum page unchanged), the range
// tests and shifts, the dividers, the empty-Poincare page, the no-page case, the window
// name and the Lyapunov exponent of the spectrum page, the Greek labels and the widths.
#include <gtest/gtest.h>

#include <cmath>

#include "app/state/form1.h"
#include "print/page.h"
#include "tests/support/recording_printer.h"
#include "tests/support/scripted_services.h"

namespace kv {
namespace {

class Page : public ::testing::Test {
 protected:
  ScriptedServices s;
  Form1 f{s.services()};
  RecordingPrinter out;

  PrintOutcome print() { return print_page(f, f, f, out); }
  void orbit_rows(std::initializer_list<std::pair<int, int>> rows) {
    int i = 0;
    for (auto [x, y] : rows) {
      ++i;
      f.orbit_points.at(i, 1) = x;
      f.orbit_points.at(i, 2) = y;
    }
    f.cnt = i;
  }
  bool has_dot(double x, double y, int width) const {
    for (const auto& d : out.dots)
      if (d.x == x && d.y == y && d.width == width) return true;
    return false;
  }
  bool has_line(double x1, double y1, double x2, double y2) const {
    for (const auto& l : out.lines)
      if (l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2) return true;
    return false;
  }
};

TEST_F(Page, NothingStoredAndNoSpectrumMakesNoPage) {
  EXPECT_FALSE(page_has_content(f, f));
  EXPECT_EQ(print().status, Status::refused);
  EXPECT_EQ(out.documents, 0);
  EXPECT_TRUE(out.texts.empty());
}

TEST_F(Page, PhasePointsLandAtCentreMinusTheStoredVelocity) {
  // Row 1 is never drawn. Row 2: y = 500 (upward) lies above the centre line 4500.
  orbit_rows({{0, 0}, {100, 500}, {-200, -700}});
  ASSERT_EQ(print().status, Status::done);
  EXPECT_EQ(out.documents, 1);
  EXPECT_EQ(out.dots.size(), 2u);
  EXPECT_TRUE(has_dot(6100, 4000, 7));
  EXPECT_TRUE(has_dot(5800, 5200, 7));
  // The labels stay: +40 at the top.
  const auto* top = out.find_text(" 40");
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->y, std::round(4460 - 636.6 * 4 - 50));
  EXPECT_EQ(out.find_text("number of phase plot points=3")->x, 1000);
}

TEST_F(Page, AtRangeZeroXAbove3000ShiftsAndTheRangeTestsAreStrict) {
  orbit_rows({{0, 0}, {3500, 0}, {3000, 0}, {-3000, 0}, {0, 3000}, {0, -3000}, {2999, -2999}});
  print();
  ASSERT_EQ(out.dots.size(), 2u);
  EXPECT_TRUE(has_dot(3500, 4500, 7));  // 3500 - 6000 + 6000
  EXPECT_TRUE(has_dot(8999, 7499, 7));
}

TEST_F(Page, AtRangeTwoDividersStandAtThirdsAndThePiLabelsAreOmitted) {
  f.cycle_number = 2;
  orbit_rows({{0, 0}, {3500, 0}});
  print();
  EXPECT_TRUE(has_line(5000, 1500, 5000, 7500));
  EXPECT_TRUE(has_line(7000, 1500, 7000, 7500));
  EXPECT_EQ(out.find_text("\xCF\x80"), nullptr);  // no pi under the upper plot
  EXPECT_TRUE(out.dots.empty());                  // 3500 is not shifted at range 2
}

TEST_F(Page, APhasePageWithoutPoincarePointsHasNoLowerBox) {
  orbit_rows({{0, 0}, {10, 10}});
  print();
  EXPECT_EQ(out.find_text("VELOCITY")->y, 3000);
  for (const auto& t : out.texts) EXPECT_LT(t.y, 8000) << t.text;
  for (const auto& l : out.lines) EXPECT_LE(std::max(l.y1, l.y2), 7500);
  // The Greek labels print in the normal font.
  const auto* minus_pi = out.find_text("\xE2\x88\x92\xCF\x80");
  ASSERT_NE(minus_pi, nullptr);
  EXPECT_EQ(minus_pi->font, "Arial");
  EXPECT_EQ(minus_pi->size, 12);
  EXPECT_EQ(minus_pi->x, 2900);
  EXPECT_EQ(minus_pi->y, 7550);
}

TEST_F(Page, PoincarePointsPrintWhateverTheirValuesUpwardAndFolded) {
  f.poincare_cnt = 3;
  f.poincare_points.at(1, 1) = 1500;
  f.poincare_points.at(1, 2) = 700;
  f.poincare_points.at(2, 1) = 4500;  // above 3000: minus 6000
  f.poincare_points.at(2, 2) = -9000;
  f.poincare_points.at(3, 1) = 3000;
  f.poincare_points.at(3, 2) = 3000;
  print();
  EXPECT_TRUE(has_dot(7500, 10800, 12));
  EXPECT_TRUE(has_dot(4500, 20500, 12));
  EXPECT_TRUE(has_dot(9000, 8500, 12));
  EXPECT_NE(out.find_text("number of Poincare plot points=3"), nullptr);
  EXPECT_EQ(out.find_text("PHASE (radian)")->y, 7650);
  int dashed = 0;
  for (const auto& l : out.lines) dashed += l.dashed;
  EXPECT_EQ(dashed, 7 + 9 + 9);  // grid columns, grid rows, ticks
  EXPECT_TRUE(has_line(3000, 11500, 9000, 11500));
}

TEST_F(Page, SpectrumPageJoinsInRangePointsAndKeepsItsDirection) {
  f.FFT_flag = kTrue;
  f.window = "Welch";
  f.ui.set_value(Ctl::List1, 0);  // the list's choice does not rename the window
  f.lyapunov_exponent = 0.1234;
  orbit_rows({{-2988, 1350}, {-2975, 1000}, {0, 3500}, {100, -200}});
  print();
  EXPECT_EQ(out.find_text("Welch")->x, 1000);
  EXPECT_EQ(out.find_text("Welch")->y, 1000);
  EXPECT_NE(out.find_text("Lyapunov exponent=.123"), nullptr);
  EXPECT_TRUE(out.dots.empty());
  // Segments in page direction (y + 4500); the point out of the box is skipped.
  EXPECT_TRUE(has_line(6000 - 2988, 4500 + 1350, 6000 - 2975, 4500 + 1000));
  EXPECT_TRUE(has_line(6000 - 2975, 4500 + 1000, 6100, 4300));
  EXPECT_NE(out.find_text("Frequency (rad/s)"), nullptr);
  EXPECT_EQ(out.find_text("number of phase plot points=4"), nullptr);
  // Power numbers in dB, -20 at the bottom to 50 at the top, level with y = 1500 - 75 D.
  EXPECT_EQ(out.find_text("-20")->y, 7350);
  EXPECT_EQ(out.find_text(" 50")->y, 7350 - 750 * 7);
  EXPECT_EQ(out.find_text(" 70"), nullptr);
}

TEST_F(Page, TheSpectrumPageOfAFileHasNoLyapunovExponent) {
  f.FFT_flag = kTrue;
  f.lyapunov_exponent = std::nan("");
  print();
  EXPECT_NE(out.find_text("Lyapunov exponent="), nullptr);
}

TEST_F(Page, APageThatCannotBeFinishedIsReportedAndTheTablesStay) {
  orbit_rows({{0, 0}, {5, 5}});
  out.fail_with = "paper jam";
  const PrintOutcome r = print();
  EXPECT_EQ(r.status, Status::failed);
  EXPECT_EQ(r.reason, "paper jam");
  EXPECT_EQ(f.cnt, 2);
  EXPECT_EQ(f.orbit_points.at(2, 1), 5);
}

}  // namespace
}  // namespace kv
