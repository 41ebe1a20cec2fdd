// The spectrum plot: the mapping of the first and last points, the power scale in dB (on
// the screen level with the labels, on the page with the printed numbers), the printer
// copy in orbit_points and cnt, the labels, and the floor for values without a logarithm.
#include <gtest/gtest.h>

#include <cmath>

#include "app/state/form1.h"
#include "fft/spectrum_plot.h"
#include "tests/support/scripted_services.h"

namespace kv {
namespace {

TEST(SpectrumPlot, Mapping) {
  EXPECT_EQ(spectrum_plot_x(1, 2048), 13);
  EXPECT_EQ(spectrum_plot_x(465, 2048), 6379);
  EXPECT_EQ(spectrum_print_x(1, 2048), -2988);
  EXPECT_EQ(spectrum_print_x(465, 2048), 12139600 / 2048 - 3000);
  // 10 dB per 750-twip label step: P = 1 on the label "0" (4290), P = 10^5 on "50" (540).
  EXPECT_DOUBLE_EQ(spectrum_decibels(1), 0);
  EXPECT_NEAR(spectrum_decibels(1e5f), 50, 1e-9);
  EXPECT_DOUBLE_EQ(spectrum_plot_y(0), 4290);
  EXPECT_DOUBLE_EQ(spectrum_plot_y(50), 540);
  EXPECT_DOUBLE_EQ(spectrum_plot_y(-10), 5040);
  // The page: y = 1500 - 75 D, so a peak of P = 2340 (33.69 dB) prints level with 33.7
  // between the numbers 30 and 40.
  EXPECT_EQ(spectrum_print_y(0), 1500);
  EXPECT_EQ(spectrum_print_y(spectrum_decibels(2340)), -1027);
  EXPECT_EQ(spectrum_print_y(0.5), 1462);  // 1462.5 rounds to the even neighbour
}

class PlotFft : public ::testing::Test {
 protected:
  ScriptedServices s;
  Form1 f{s.services()};
  void SetUp() override {
    f.fft_points = 2048;
    for (int j = 1; j <= 2048; ++j) f.spectrum[j] = 1.0f;
    f.orbit_points.at(466, 1) = 777;
    f.ui.set_visible(Ctl::Frame5, true);
    f.ui.set_visible(Ctl::Image1, true);
  }
};

TEST_F(PlotFft, DrawsTheCurveAndStoresThePrinterCopy) {
  f.spectrum[465] = 100.0f;
  plot_fft(f, f);
  EXPECT_EQ(f.cnt, 465);
  EXPECT_EQ(f.orbit_points.at(1, 1), -2988);
  EXPECT_EQ(f.orbit_points.at(1, 2), 1500);
  EXPECT_EQ(f.orbit_points.at(465, 2), 0);  // 20 dB: 1500 - 75 * 20
  EXPECT_EQ(f.orbit_points.at(466, 1), 777) << "rows above 465 are left alone";
  // P = 1 lies on the label "0", y = 4290; the line is black on the background.
  const Surface& p = f.Picture1;
  EXPECT_EQ(p.pixel(p.to_px(3000), p.to_py(4290)), 0u);
  EXPECT_EQ(p.pixel(p.to_px(3000), p.to_py(4290 - 600)), kWindowBackground);
  EXPECT_EQ(p.CurrentX, 6379);
  EXPECT_FLOAT_EQ(p.CurrentY, 4290 - 1500);
  // A frequency tick at 1610 twips and a power tick at the left edge.
  EXPECT_EQ(p.pixel(p.to_px(1610), p.to_py(5700)), 0u);
  EXPECT_EQ(p.pixel(p.to_px(50), p.to_py(750 * 3 - 210)), 0u);
}

TEST_F(PlotFft, SwitchesToTheSpectrumLabels) {
  plot_fft(f, f);
  for (Ctl c : {Ctl::Picture1, Ctl::Frame12, Ctl::Frame13, Ctl::Image3, Ctl::Label3})
    EXPECT_TRUE(f.ui[c].visible) << control_name(c);
  for (Ctl c : {Ctl::Frame5, Ctl::Frame8, Ctl::Image1})
    EXPECT_FALSE(f.ui[c].visible) << control_name(c);
  EXPECT_EQ(f.ui[Ctl::Label3].text, "Fourier Spectrum");
  EXPECT_EQ(f.Picture1.DrawWidth, 1);
}

TEST_F(PlotFft, ValuesWithoutALogarithmUseTheFloor) {
  f.spectrum[10] = 0.0f;
  f.spectrum[11] = -3.0f;
  f.spectrum[12] = std::nanf("");
  plot_fft(f, f);
  // The floor, 0.0001, is -40 dB: 1500 + 75 * 40.
  EXPECT_EQ(f.orbit_points.at(10, 2), 4500);
  EXPECT_EQ(f.orbit_points.at(11, 2), 4500);
  EXPECT_EQ(f.orbit_points.at(12, 2), 4500);
  EXPECT_EQ(f.orbit_points.at(13, 2), 1500);
}

}  // namespace
}  // namespace kv
