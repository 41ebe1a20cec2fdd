// The spectrum plot: the mapping of the first and last points, the power scale for the
// design height, the printer copy in orbit_points and cnt, the labels, and the floor for
// values without a logarithm.
#include <gtest/gtest.h>

#include <cmath>

#include "app/state/form1.h"
#include "fft/spectrum_plot.h"
#include "platform/scripted_services.h"

namespace kv {
namespace {

TEST(SpectrumPlot, Mapping) {
  EXPECT_EQ(spectrum_plot_x(1, 2048), 13);
  EXPECT_EQ(spectrum_plot_x(465, 2048), 6379);
  EXPECT_DOUBLE_EQ(spectrum_plot_y(5790, 0), 4140);
  EXPECT_DOUBLE_EQ(spectrum_plot_y(5790, 1), 3851);  // P = e
  EXPECT_EQ(spectrum_print_x(1, 2048), -2988);
  EXPECT_EQ(spectrum_print_x(465, 2048), 12139600 / 2048 - 3000);
  EXPECT_EQ(spectrum_print_y(0), 1350);
  EXPECT_EQ(spectrum_print_y(1), 1050);  // 1500 - 300 - 150
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
  f.spectrum[465] = std::exp(2.0f);
  plot_fft(f, f, s.pump);
  EXPECT_EQ(f.cnt, 465);
  EXPECT_EQ(f.orbit_points.at(1, 1), -2988);
  EXPECT_EQ(f.orbit_points.at(1, 2), 1350);
  EXPECT_EQ(f.orbit_points.at(465, 2), 750);  // 1500 - 300 * 2 - 150
  EXPECT_EQ(f.orbit_points.at(466, 1), 777) << "rows above 465 are left alone";
  // P = 1 lies on y = Height - 1650; the line is black on the background.
  const Surface& p = f.Picture1;
  const float y1 = p.Height() - 1650;
  EXPECT_EQ(p.pixel(p.to_px(3000), p.to_py(y1)), 0u);
  EXPECT_EQ(p.pixel(p.to_px(3000), p.to_py(y1 - 600)), kWindowBackground);
  EXPECT_EQ(p.CurrentX, 6379);
  EXPECT_FLOAT_EQ(p.CurrentY, static_cast<float>(spectrum_plot_y(p.Height(), 2)));
  // A frequency tick at 1610 twips and a power tick at the left edge.
  EXPECT_EQ(p.pixel(p.to_px(1610), p.to_py(5700)), 0u);
  EXPECT_EQ(p.pixel(p.to_px(50), p.to_py(750 * 3 - 210)), 0u);
}

TEST_F(PlotFft, SwitchesToTheSpectrumLabels) {
  plot_fft(f, f, s.pump);
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
  plot_fft(f, f, s.pump);
  const int floor_y =
      static_cast<int>(std::lround(1500 - 300 * std::log(static_cast<double>(0.0001f)) - 150));
  EXPECT_EQ(f.orbit_points.at(10, 2), floor_y);
  EXPECT_EQ(f.orbit_points.at(11, 2), floor_y);
  EXPECT_EQ(f.orbit_points.at(12, 2), floor_y);
  EXPECT_EQ(f.orbit_points.at(13, 2), 1350);
}

}  // namespace
}  // namespace kv
