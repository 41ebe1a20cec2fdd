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

// At the design resolution and at a screen's (a window scale of 2, or a fractional one)
// only the newest point carries the red cross: an old cross leaves no trace where it was
// drawn, also over the grid's centre line (y 2887) and at a fractional y (2999.6 lies in
// another pixel row than its rounded 3000), and the grid survives.
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
  const P points[] = {{-1000, 2887}, {1200, 1500.4}, {-1000, 2999.6}, {300, 2887}, {310, 2890.4}};
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
  EXPECT_EQ(f.marker_y, 2890);
  EXPECT_EQ(f.Picture2.DrawMode, kDrawNotXorPen);
}

INSTANTIATE_TEST_SUITE_P(Scales, PoincareAtScale, ::testing::Values(1.0, 2.0, 1.25, 1.5),
                         [](const ::testing::TestParamInfo<double>& info) {
                           return "x" + std::to_string(static_cast<int>(info.param * 100));
                         });
