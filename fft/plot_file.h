// "Plot file": draws a stored file again, recognised by its second line: an orbit file
// ("PHASE") as a phase-plane trace at the chosen range, a Poincare file ("POINCARE") as a
// Poincare section with its moving marker, a spectrum file ("FFT") as a power spectrum.
// The points are stored for printing as the live acquisition stores them. The engine sits
// with the spectrum code because it is the first layer that can draw all three kinds.
#pragma once

#include <cstdint>
#include <string>

#include "platform/outcome.h"
#include "platform/run_control.h"

namespace kv {
struct PlotState;
struct SpectrumState;
struct ChaosState;
struct SaveState;
class ListInput;

// The state Plot file works on.
struct PlotFileContext {
  PlotState& plots;
  SpectrumState& spectrum;  // a spectrum file becomes the spectrum on screen
  ChaosState& chaos;        // ... which has no Lyapunov exponent
  SaveState& save;          // saving ends with the file
};

// Spectrum lines a *.fft file must hold and Plot file reads: the whole numbers up to
// 2048 / 4.4.
inline constexpr int kPlotFileSpectrumLines = 465;

struct PlotFileRequest {
  std::string path;
  // Range control value 0..5 for an orbit file (0: one revolution across the plot,
  // v: 2^v + 1 revolutions), as the scroll bar "Set range" shows.
  int range_value = 0;
};

// done: the whole file was drawn. halted: HALT stopped the drawing; what is drawn stays.
// refused: line 2 is not "PHASE", "POINCARE" or "FFT"; nothing is drawn. failed: the file
// cannot be read, or an item is missing or not a number. The reason (refused, failed)
// names the file and, for an item, the line.
struct PlotFileOutcome : Outcome {
  enum class Kind { unknown, orbit, poincare, spectrum };
  Kind kind = Kind::unknown;
  std::int64_t records = 0;  // records (or spectrum lines) read and drawn
};

// Range control value for a range factor R (0, 2, 4, 8, 16, 32); -1 for any other R.
int range_value_for_cycles(int cycle_number);

// Reads the file of the request whole and draws it. The plot's parts are shown through
// plots.view; HALT and Clear come from `run`, and progress as bytes of the file read.
PlotFileOutcome plot_file(PlotFileContext c, const PlotFileRequest& request, RunControl& run);

// Plots the orbit records that follow the header in `in` until the end of the text or
// HALT; Clear restarts the plot. The phase plot is prepared at the range it has.
PlotFileOutcome start_phase_plot(PlotState& plots, SaveState& save, ListInput& in,
                                 const std::string& path, RunControl& run);

}  // namespace kv
