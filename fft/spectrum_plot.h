// The spectrum plot: the power of spectrum(1..465) in decibels, D = 10 log10 P, against
// frequency on the phase-plot surface Picture1, with the spectrum's label strips, and a
// printer copy of the curve in orbit_points rows 1..465 (cnt = 465).
#pragma once

namespace kv {
struct PlotState;
struct SpectrumState;

// Values of 0 or less have no logarithm; they are plotted and stored at this floor.
inline constexpr float kSpectrumFloor = 0.0001f;

// The decibels of a power, 10 log10 P (of the floor for P <= 0 or not a number).
double spectrum_decibels(float power);

// x in twips of spectrum line j for n points: (j * 27.44 * 1024 rounded) \ n.
int spectrum_plot_x(int j, int n);
// y in twips of a power of `decibels` dB: 75 twips per dB, so each 750-twip step of the
// power labels is 10 dB and every label lies level with the value it names (0 dB at 4290,
// the label strip's "0").
double spectrum_plot_y(double decibels);
// Printer copy of line j: x = (j * (89 / 90 * 26400) rounded) \ n - 3000 and
// y = 1500 - 75 D rounded (half to even), so the page's power numbers read D too.
int spectrum_print_x(int j, int n);
int spectrum_print_y(double decibels);

// Draws spectrum(1..fft_points / 4.4) on Picture1, shows the spectrum's scales and title
// instead of the phase plot's, stores the printer copy and has it all shown through
// plots.view.
void plot_fft(PlotState& plots, const SpectrumState& spectrum);

}  // namespace kv
