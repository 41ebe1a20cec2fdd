#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <vector>

#include "app/state/form1.h"
#include "plot/poincare_plot.h"
#include "tests/support/scripted_services.h"

using namespace kv;

namespace {
struct PoincarePlot : ::testing::Test {
  ScriptedServices s;
  Form1 f{s.services()};
  void point(int counts, double y) {
    f.phase_counts = static_cast<i16>(counts);
    f.poincare_y = y;
    plot_poincare_point(f);
  }
};
}  // namespace

TEST_F(PoincarePlot, HorizontalMappingFoldsCountsAboveHalfARevolution) {
  grid(f);
  start_poincare_marker(f);
  const double sw2 = f.Picture2.ScaleWidth() / 2.0;
  point(0, 2000);
  EXPECT_EQ(f.plot_x, sw2);
  point(2000, 2000);
  EXPECT_EQ(f.phase_counts, 2000);
  EXPECT_EQ(f.plot_x, 6255 / 2 + sw2);  // CLng(2000 W) \ 4000 = W / 2 rounded down
  point(2001, 2000);
  EXPECT_EQ(f.phase_counts, -1999);
  EXPECT_EQ(f.plot_x, (-1999L * 6255) / 4000 + sw2);
  EXPECT_EQ(f.marker_x, f.plot_x);
  EXPECT_EQ(f.marker_y, 2000);
}

TEST_F(PoincarePlot, OnlyTheNewestPointCarriesTheCrossAndTheGridSurvives) {
  grid(f);
  Form1 ref{s.services()};
  grid(ref);
  start_poincare_marker(f);
  point(-1000, 2887);  // on the centre line: the cross lies over grid lines
  const double ax = f.plot_x;
  point(1200, 1500.4);
  const double bx = f.plot_x;
  // The reference holds the grid and the two bare dots.
  ref.Picture2.DrawMode = kDrawBlackness;
  ref.Picture2.PSet(static_cast<float>(ax), 2887);
  ref.Picture2.PSet(static_cast<float>(bx), 1500.4f);
  const Surface& a = f.Picture2;
  const Surface& b = ref.Picture2;
  int differ_near_a = 0, differ_near_b = 0;
  for (int py = 0; py < a.pixel_height(); ++py) {
    for (int px = 0; px < a.pixel_width(); ++px) {
      if (a.pixel(px, py) == b.pixel(px, py)) continue;
      double x = px * 15.0, y = py * 15.0;
      if (std::abs(x - ax) < 200 && std::abs(y - 2887) < 200) ++differ_near_a;
      if (std::abs(x - bx) < 200 && std::abs(y - 1500) < 200) ++differ_near_b;
    }
  }
  EXPECT_EQ(differ_near_a, 0);
  EXPECT_GT(differ_near_b, 40);  // the red cross of the newest point
  EXPECT_EQ(f.marker_y, 1500);
  EXPECT_EQ(f.Picture2.DrawMode, kDrawNotXorPen);
}

TEST_F(PoincarePlot, GridHasDottedColumnsAndSolidCentreLines) {
  grid(f);
  const Surface& p = f.Picture2;
  int col4 = p.to_px(static_cast<float>(2 * 6255 / 8.02 + 1));
  int centre = p.to_px(6255 / 2);
  int red4 = 0, redc = 0;
  for (int py = 0; py < p.pixel_height(); ++py) {
    red4 += p.pixel(col4, py) == kRed;
    redc += p.pixel(centre, py) == kRed;
  }
  EXPECT_GT(red4, 20);  // dotted
  EXPECT_LT(red4, p.pixel_height() - 20);
  EXPECT_GE(redc, p.pixel_height() - 2);  // solid
  EXPECT_EQ(p.DrawWidth, 2);
  EXPECT_TRUE(f.ui[Ctl::Picture2].visible);
  EXPECT_TRUE(f.ui[Ctl::Frame9].visible);
}

TEST_F(PoincarePlot, MarkerCoordinatesSaturateInsteadOfOverflowing) {
  grid(f);
  start_poincare_marker(f);
  point(100, 1e12);
  EXPECT_EQ(f.marker_y, 2147483647);
  point(100, 3000);  // the old cross lies off the surface; removing it is harmless
  EXPECT_EQ(f.marker_y, 3000);
}

TEST_F(PoincarePlot, CrossAtAFractionalYIsRemovedWithoutATrace) {
  // y = 2999.6 lies in pixel row 199, its rounded 3000 in row 200: the old cross must be
  // removed from where it was drawn.
  grid(f);
  Form1 ref{s.services()};
  grid(ref);
  start_poincare_marker(f);
  point(-1000, 2999.6);
  const double ax = f.plot_x;
  point(1200, 1500);
  ref.Picture2.DrawMode = kDrawBlackness;
  ref.Picture2.PSet(static_cast<float>(ax), 2999.6f);
  int differ_near_a = 0;
  for (int py = 0; py < f.Picture2.pixel_height(); ++py)
    for (int px = 0; px < f.Picture2.pixel_width(); ++px)
      if (std::abs(px * 15.0 - ax) < 200 && std::abs(py * 15.0 - 3000) < 200 &&
          f.Picture2.pixel(px, py) != ref.Picture2.pixel(px, py))
        ++differ_near_a;
  EXPECT_EQ(differ_near_a, 0);
}

// At a screen's device resolution (a window scale of 2, or a fractional one) the red cross
// of the newest point still leaves no trace where it was.
class PoincareAtScale : public ::testing::TestWithParam<double> {};

TEST_P(PoincareAtScale, OldCrossesLeaveNoTrace) {
  const double k = GetParam();
  ScriptedServices s;
  Form1 f{s.services()}, ref{s.services()};
  f.Picture2.set_device_scale(k);
  ref.Picture2.set_device_scale(k);
  grid(f);
  grid(ref);
  start_poincare_marker(f);
  struct P {
    int counts;
    double y;
  };
  const P points[] = {{-1000, 2887}, {1200, 1500.4}, {-1000, 2999.6}, {300, 2887}, {310, 2890}};
  std::vector<double> xs;
  for (const P& p : points) {
    f.phase_counts = static_cast<i16>(p.counts);
    f.poincare_y = p.y;
    plot_poincare_point(f);
    xs.push_back(f.plot_x);
  }
  ref.Picture2.DrawMode = kDrawBlackness;
  for (std::size_t i = 0; i < xs.size(); ++i)
    ref.Picture2.PSet(static_cast<float>(xs[i]), static_cast<float>(points[i].y));
  // Away from the newest point's cross (and the white cross of the start), the plot is the
  // grid and the bare dots.
  const Surface& a = f.Picture2;
  const Surface& b = ref.Picture2;
  const double last_x = xs.back(), last_y = points[std::size(points) - 1].y;
  int differ_elsewhere = 0, differ_at_last = 0;
  for (int py = 0; py < a.pixel_height(); ++py)
    for (int px = 0; px < a.pixel_width(); ++px) {
      if (a.pixel(px, py) == b.pixel(px, py)) continue;
      const double x = px * 15.0 / k, y = py * 15.0 / k;
      if (std::abs(x - last_x) < 200 && std::abs(y - last_y) < 200)
        ++differ_at_last;
      else if (!(x < 400 && y < 400))  // the first removal is a white cross at (200, 200)
        ++differ_elsewhere;
    }
  EXPECT_EQ(differ_elsewhere, 0);
  EXPECT_GT(differ_at_last, static_cast<int>(40 * k));  // the newest cross is there
}

INSTANTIATE_TEST_SUITE_P(Scales, PoincareAtScale, ::testing::Values(2.0, 1.25, 1.5),
                         [](const ::testing::TestParamInfo<double>& info) {
                           return "x" + std::to_string(static_cast<int>(info.param * 100));
                         });
