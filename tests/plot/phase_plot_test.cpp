#include <gtest/gtest.h>

#include "app/state/form1.h"
#include "plot/phase_plot.h"
#include "tests/support/scripted_services.h"

using namespace kv;

namespace {
struct PhasePlot : ::testing::Test {
  ScriptedServices s;
  Form1 f{s.services()};
  void prepare(int scroll_value) {
    f.ui.set_value(Ctl::HScroll1, scroll_value);
    setup_phase_plot(f);
  }
  // Plots count `a` of revolution `rev` and returns the x used.
  double plot(int a, int rev = 0, int y = 2000) {
    f.phase_counts = static_cast<i16>(a);
    f.revolution_slots[3] = rev;
    f.phase_y = y;
    plot_phase_point(f);
    return f.plot_x;
  }
  std::uint32_t at_twips(float x, float y) {
    return f.Picture1.pixel(f.Picture1.to_px(x), f.Picture1.to_py(y));
  }
};
}  // namespace

TEST_F(PhasePlot, OneRevolutionFoldsCountsAroundTheCentre) {
  prepare(0);
  EXPECT_EQ(f.cycle_number, 0);
  EXPECT_TRUE(f.ui[Ctl::Frame8].visible);
  f.cnt = 7;
  EXPECT_EQ(plot(0), 3307);                     // centre, W / 2
  EXPECT_EQ(plot(1999), (6615 * 3999) / 4000);  // near the right edge
  EXPECT_EQ(plot(2000), 0);                     // folded to the left edge
  EXPECT_EQ(plot(3999), (6615 * 1999) / 4000);  // just left of the centre
  EXPECT_EQ(f.orbit_points.at(7, 1), 5998);     // CInt(3999 * 1.5), half to even
  plot(4000);
  EXPECT_EQ(f.orbit_points.at(7, 1), 6000);
  plot(1);
  EXPECT_EQ(f.orbit_points.at(7, 1), 2);  // CInt(1.5)
  EXPECT_EQ(f.cnt, 7);                    // the caller advances cnt
  // The point is black and lies at phase_y.
  EXPECT_EQ(at_twips(static_cast<float>(plot(1000, 0, 1234)), 1234), 0u);
}

TEST_F(PhasePlot, ThreeRevolutionsUnwrapAndDrawGreyWhiteGreyBands) {
  prepare(1);
  EXPECT_EQ(f.cycle_number, 2);
  // The label row follows the range in force when the plot is prepared, so it changes
  // with the next preparation (the commands set it again themselves).
  EXPECT_TRUE(f.ui[Ctl::Frame8].visible);
  prepare(1);
  EXPECT_FALSE(f.ui[Ctl::Frame8].visible);
  EXPECT_EQ(at_twips(1000, 1000), kGrey);
  EXPECT_EQ(at_twips(2700, 1000), kWhite);
  EXPECT_EQ(at_twips(5600, 1000), kGrey);
  f.cnt = 3;
  EXPECT_EQ(plot(0, 0), 3307);     // t = 0 at the centre
  EXPECT_EQ(plot(2000, 1), 6615);  // t = 6000: right edge
  EXPECT_EQ(f.orbit_points.at(3, 1), 3000);
  EXPECT_EQ(plot(0, -1, 100), (6615 * (-4000 / 3 + 2000)) / 4000);
  EXPECT_EQ(f.orbit_points.at(3, 1), -2000);
}

TEST_F(PhasePlot, FiveRevolutionsStartWithAWhiteBand) {
  prepare(2);
  EXPECT_EQ(f.cycle_number, 4);
  EXPECT_EQ(at_twips(600, 1000), kWhite);
  EXPECT_EQ(at_twips(1900, 1000), kGrey);
  EXPECT_EQ(at_twips(3000, 1000), kWhite);
}

TEST_F(PhasePlot, ThirtyThreeRevolutionsAndFarRotations) {
  prepare(5);
  EXPECT_EQ(f.cycle_number, 32);
  f.cnt = 1;
  EXPECT_EQ(plot(0, 16), (static_cast<long>(6615) * (64000 / 33 + 2000)) / 4000);
  EXPECT_EQ(f.orbit_points.at(1, 1), 96000 / 33);
  // A pendulum that has turned a million times: the unwrapped angle leaves 32 bits; the
  // point lies off the surface, is not drawn, and its print value does not fit, so the
  // row keeps what it had.
  f.orbit_points.at(1, 1) = 77;
  auto before = f.Picture1.serial();
  double x = plot(100, 1000000);
  EXPECT_GT(x, 6615);
  EXPECT_EQ(f.Picture1.serial(), before);
  EXPECT_EQ(f.orbit_points.at(1, 1), 77);
  plot(100, -1000000);
  EXPECT_EQ(f.Picture1.serial(), before);
}

TEST_F(PhasePlot, AxesAndTicks) {
  prepare(0);
  const float h = f.Picture1.Height();
  EXPECT_EQ(at_twips(3000, 2895), kRed);        // zero-velocity axis at CLng(H) \ 2
  EXPECT_EQ(at_twips(3307, 500), kRed);         // zero-phase axis at CLng(W) \ 2
  EXPECT_EQ(at_twips(50, h / 2 + 636.6f), 0u);  // a tick, in the fore colour
  EXPECT_NE(at_twips(150, h / 2 + 636.6f), 0u);
}
