#include "fft/spectrum_plot.h"

#include <cmath>

#include "fft/spectrum_state.h"
#include "plot/plot_state.h"

namespace kv {

namespace {
// Twips per spectrum line times the number of points: 88.2 / 90 * 28 = 27.44.
const double kLineWidth = 88.2 / 90 * 28;

// Twips per dB on the screen and on the page: the power labels stand 750 twips (10 dB)
// apart; on the screen the label "0" stands at the sixth tick, 6 x 750 - 210 twips down.
constexpr double kTwipsPerDecibel = 75;
constexpr double kZeroDecibelY = 6 * 750 - 210;
}  // namespace

double spectrum_decibels(float p) {
  return 10 * std::log10(static_cast<double>(p > 0 ? p : kSpectrumFloor));
}

int spectrum_plot_x(int j, int n) {
  return clng_sat(j * kLineWidth * 1024) / n;
}

double spectrum_plot_y(double decibels) {
  return kZeroDecibelY - kTwipsPerDecibel * decibels;
}

int spectrum_print_x(int j, int n) {
  return clng_sat(j * (89.0 / 90 * 26400)) / n - 3000;
}

int spectrum_print_y(double decibels) {
  return clng_sat(1500 - kTwipsPerDecibel * decibels);
}

void plot_fft(PlotState& f, const SpectrumState& s) {
  Surface& pic = f.Picture1;
  PlotView& view = *f.view;
  const int n = s.fft_points;
  if (n <= 0) return;  // no spectrum has been set up
  pic.Cls();
  view.show(PlotPart::phase_plot, true);
  view.show(PlotPart::spectrum_frequency_scale, true);
  view.show(PlotPart::spectrum_power_scale, true);
  view.show(PlotPart::spectrum_power_title, true);
  for (int i = 1; i <= 3; ++i) pic.Line(1610.0f * i, 6000, 1610.0f * i, 5500);
  for (int i = 1; i <= 8; ++i) pic.Line(0, 750.0f * i - 210, 100, 750.0f * i - 210);
  view.show(PlotPart::phase_velocity_scale, false);
  view.show(PlotPart::phase_angle_scale, false);
  pic.DrawWidth = 1;

  f.cnt = 1;
  const double last = n / 4.4;
  const int lines = static_cast<int>(s.spectrum.size()) - 1;
  pic.CurrentX = static_cast<float>(clng(kLineWidth * 1024) / n);
  pic.CurrentY = static_cast<float>(spectrum_plot_y(spectrum_decibels(s.spectrum[1])));
  for (int j = 1; j <= last && j <= lines; ++j) {
    const double db = spectrum_decibels(s.spectrum[j]);
    pic.LineTo(static_cast<float>(spectrum_plot_x(j, n)), static_cast<float>(spectrum_plot_y(db)),
               0);
    f.orbit_points.at(j, 1) = spectrum_print_x(j, n);
    f.orbit_points.at(j, 2) = spectrum_print_y(db);
  }
  f.cnt = clng(last);

  view.set_title(PlotPart::phase_title, "Fourier Spectrum");
  view.show(PlotPart::phase_title, true);
  view.show(PlotPart::phase_velocity_title, false);
  pic.Refresh();
  view.show_drawn();
}

}  // namespace kv
