// The spectrum command's work after a window has been chosen in the window list: open an
// orbit file, offer the number of segments, average their spectra, draw the result,
// estimate the Lyapunov exponent of the same file and offer to save the spectrum file.
#pragma once

#include <string>

namespace kv {
struct Form1;
class RunControl;

enum class SpectrumOutcome {
  cancelled,    // open dialog cancelled, empty or zero answer, or no whole segment
  unreadable,   // the file could not be read or a field is not a number (told)
  too_short,    // the file ends before the segments asked for (told)
  drawn,        // spectrum drawn, not saved
  saved,        // spectrum drawn and saved
  save_failed,  // spectrum drawn, the spectrum file could not be written (told)
};

// `run` is asked about HALT during the Lyapunov estimate.
SpectrumOutcome get_fft_data(Form1& f, RunControl& run);

// Writes the current spectrum as a *.fft file at `path`. On failure tells the user which
// file and why and keeps any older file of that name.
bool save_spectrum_file(Form1& f, const std::string& path);

}  // namespace kv
