#include "fft/spectrum_plot.h"

#include <cmath>

#include "app/state/form1.h"

namespace kv {

namespace {
// Twips per spectrum line times the number of points: 88.2 / 90 * 28 = 27.44.
const double kLineWidth = 88.2 / 90 * 28;

double ln_power(float p) {
  return std::log(p > 0 ? p : kSpectrumFloor);
}
}  // namespace

int spectrum_plot_x(int j, int n) {
  return clng_sat(j * kLineWidth * 1024) / n;
}

double spectrum_plot_y(float h, double ln_p) {
  return (h - 1650) - static_cast<double>(clng_sat(h) / 20) * ln_p;
}

int spectrum_print_x(int j, int n) {
  return clng_sat(j * (89.0 / 90 * 26400)) / n - 3000;
}

int spectrum_print_y(double ln_p) {
  return clng_sat(1500 - 300 * ln_p - 150);
}

void plot_fft(Form1& f) {
  Surface& pic = f.Picture1;
  const int n = f.fft_points;
  if (n <= 0) return;  // no spectrum has been set up
  pic.Cls();
  f.ui.set_visible(Ctl::Picture1, true);
  f.ui.set_visible(Ctl::Frame12, true);
  f.ui.set_visible(Ctl::Frame13, true);
  f.ui.set_visible(Ctl::Image3, true);
  for (int i = 1; i <= 3; ++i) pic.Line(1610.0f * i, 6000, 1610.0f * i, 5500);
  for (int i = 1; i <= 8; ++i) pic.Line(0, 750.0f * i - 210, 100, 750.0f * i - 210);
  f.ui.set_visible(Ctl::Frame5, false);
  f.ui.set_visible(Ctl::Frame8, false);
  pic.DrawWidth = 1;

  f.cnt = 1;
  const double last = n / 4.4;
  const int lines = static_cast<int>(f.spectrum.size()) - 1;
  pic.CurrentX = static_cast<float>(clng(kLineWidth * 1024) / n);
  pic.CurrentY = static_cast<float>(spectrum_plot_y(pic.Height(), ln_power(f.spectrum[1])));
  for (int j = 1; j <= last && j <= lines; ++j) {
    const double lp = ln_power(f.spectrum[j]);
    const double y = spectrum_plot_y(pic.Height(), lp);
    pic.LineTo(static_cast<float>(spectrum_plot_x(j, n)), static_cast<float>(y), 0);
    f.orbit_points.at(j, 1) = spectrum_print_x(j, n);
    f.orbit_points.at(j, 2) = spectrum_print_y(lp);
  }
  f.cnt = clng(last);

  f.ui.set_text(Ctl::Label3, "Fourier Spectrum");
  f.ui.set_visible(Ctl::Label3, true);
  f.ui.set_visible(Ctl::Image1, false);
  pic.Refresh();
  f.sys.pump.repaint();
}

}  // namespace kv
