// The spectrum plot: the natural logarithm of spectrum(1..465) against frequency on the
// phase-plot surface Picture1, with the spectrum's label strips, and a printer copy of the
// curve in orbit_points rows 1..465 (cnt = 465).
#pragma once

namespace kv {
struct PlotState;
struct SpectrumState;
class EventPump;

// Values of 0 or less have no logarithm; they are plotted and stored at this floor.
inline constexpr float kSpectrumFloor = 0.0001f;

// x in twips of spectrum line j for n points: (j * 27.44 * 1024 rounded) \ n.
int spectrum_plot_x(int j, int n);
// y in twips for a surface of height h and a power whose logarithm is ln_power.
double spectrum_plot_y(float h, double ln_power);
// Printer copy of line j: x = (j * (89 / 90 * 26400) rounded) \ n - 3000 and
// y = 1500 - 300 ln P - 150 rounded.
int spectrum_print_x(int j, int n);
int spectrum_print_y(double ln_power);

// Draws spectrum(1..fft_points / 4.4) on Picture1, shows the spectrum's scales and title
// instead of the phase plot's, stores the printer copy and repaints through `pump`.
void plot_fft(PlotState& plots, const SpectrumState& spectrum, EventPump& pump);

}  // namespace kv
