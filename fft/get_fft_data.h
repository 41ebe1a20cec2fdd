// The spectrum command's engine, in two stages so that the number of segments can be
// chosen from what the file offers: `open_spectrum_source` reads an orbit file whole and
// its header (the point count, and the number of whole segments offered), and
// `average_spectrum` averages the segments' spectra, draws the result and estimates the
// Lyapunov exponent of the same file; `save_spectrum_file` writes the *.fft file. The
// window's handler asks the file, the count and the output through the dialogs between
// the stages; kestavor-cli fills a SpectrumRequest and calls `run_spectrum`.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "datafiles/orbit_reader.h"
#include "platform/command_status.h"
#include "platform/input_file.h"
#include "platform/vb_numeric.h"

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

struct SpectrumRequest {
  std::string orbit_path;     // the *.pha file
  int window = 0;             // index into kWindowNames (the window list's value)
  std::int64_t segments = 0;  // segments to average; 0 takes the number offered
  std::string output;         // the *.fft file; empty: the spectrum is only drawn
};

// An orbit file opened for the spectrum: the file stays open, its reader placed after
// the point count, until the average has read what it needs.
struct SpectrumSource {
  CommandStatus status = CommandStatus::failed;  // done, or failed (told, see reason)
  std::string reason;
  std::string path;
  i32 number_of_points = 0;  // the header's count
  std::int64_t offered = 0;  // whole segments offered for averaging
  std::unique_ptr<InputFile> file;
  std::unique_ptr<OrbitReader> in;
};

struct SpectrumResult {
  SpectrumOutcome outcome = SpectrumOutcome::cancelled;
  std::string reason;  // for unreadable, too_short and save_failed: the text told
};

// Before the file is chosen: the window of the list entry `window` (0..3; another value
// keeps the current one), HALT enabled for the estimate, the spectrum emptied.
void begin_spectrum(Form1& f, int window);
// Opens the orbit file at `path` and reads its point count; a file that cannot be read is
// told and ends the command (HALT back to grey).
SpectrumSource open_spectrum_source(Form1& f, const std::string& path);
// Averages `segments` segments (at least 1) of the opened file with the window of list
// entry `window`, draws the spectrum and
// estimates the Lyapunov exponent (`run` is asked about HALT during the estimate): drawn,
// or unreadable / too_short (told, nothing averaged).
SpectrumResult average_spectrum(Form1& f, SpectrumSource& source, int window, std::int64_t segments,
                                RunControl& run);
// HALT was enabled for the estimate; a command that ends before it gives the button back.
void end_spectrum_early(Form1& f);

// The whole command for a request: begin, open, average (the number offered when the
// request asks for 0; cancelled when the file offers none), and save when an output is
// given.
SpectrumResult run_spectrum(Form1& f, const SpectrumRequest& request, RunControl& run);

// Writes the current spectrum as a *.fft file at `path`. On failure tells the user which
// file and why (also in `error`) and keeps any older file of that name.
bool save_spectrum_file(Form1& f, const std::string& path, std::string* error = nullptr);

}  // namespace kv
