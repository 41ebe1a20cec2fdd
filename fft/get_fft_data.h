// The spectrum command's engine, in two stages so that the number of segments can be
// chosen from what the file offers: `open_spectrum_source` reads an orbit file's header
// (the point count, and the number of whole segments offered), and `average_spectrum`
// averages the segments' spectra, draws the result and estimates the Lyapunov exponent of
// the same file; `save_spectrum_file` writes the *.fft file. The window's handler asks the
// file, the count and the output through the dialogs between the stages, filling the
// request as it goes; kestavor-cli fills a SpectrumRequest and calls `run_spectrum`. The
// engine asks nothing and tells nothing: every ending comes back with its reason.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "chaos/lyapunov.h"
#include "datafiles/orbit_reader.h"
#include "platform/input_file.h"
#include "platform/outcome.h"
#include "platform/vb_numeric.h"

namespace kv {
struct PlotState;
struct SpectrumState;
struct ChaosState;
struct SaveState;
class FileTable;
class RunControl;

// The state the spectrum works on.
struct SpectrumContext {
  PlotState& plots;  // the spectrum is drawn on the phase plot; its printer copy in orbit_points
  SpectrumState& spectrum;
  ChaosState& chaos;  // the Lyapunov exponent of the same file
  SaveState& save;    // the file being read or written (save_file_name, save_file_number)
  FileTable& files;   // the *.fft file is written through it
};

struct SpectrumRequest {
  std::string orbit_path;     // the *.pha file
  int window = 0;             // index into kWindowNames (the window list's value)
  std::int64_t segments = 0;  // segments to average; 0 takes the number offered
  std::string output;         // the *.fft file; empty: the spectrum is only drawn
  LyapunovWatch lyapunov{};   // told as the estimate after the plot runs
};

// An orbit file opened for the spectrum: the file stays open, its reader placed after
// the point count, until the average has read what it needs.
// done, or failed (the reason names the file and what is wrong).
struct SpectrumSource : Outcome {
  std::string path;
  i32 number_of_points = 0;  // the header's count
  std::int64_t offered = 0;  // whole segments offered for averaging
  std::unique_ptr<InputFile> file;
  std::unique_ptr<OrbitReader> in;
};

// done: the spectrum is drawn, and saved when the request names an output. refused: the
// file offers no whole segment, or ends before the segments asked for; nothing is
// averaged. failed: the file cannot be read or a field is not a number, or the spectrum
// file cannot be written (the spectrum is drawn). The reason (refused, failed) names the
// file and what is wrong.
struct SpectrumResult : Outcome {
  bool drawn = false;         // the spectrum is drawn (and the estimate made)
  bool saved = false;         // ... and written to the request's output
  std::int64_t segments = 0;  // segments averaged
  LyapunovRun lyapunov;       // drawn: the estimate after the plot
};

// Why a file whose header offers no whole segment is refused: "PATH is too short for one
// segment of the spectrum: ...", with the header's count.
std::string too_short_for_a_segment(const std::string& path, std::int32_t header_count);

// Before the file is chosen: the window of the list entry `window` (0..3; another value
// keeps the current one), FFT_flag set, the phase plot's velocity title hidden, the
// spectrum emptied.
void begin_spectrum(SpectrumContext c, int window);
// Opens the orbit file at `path` and reads its point count into number_of_points; a file
// that cannot be read comes back failed with the reason.
SpectrumSource open_spectrum_source(SpectrumContext c, const std::string& path);
// Averages request.segments segments (at least 1) of the opened file with the request's
// window, draws the spectrum and estimates the Lyapunov exponent (`run` is asked about
// HALT during the estimate, the request's watch told how it goes): drawn, or unreadable /
// too_short (nothing averaged).
SpectrumResult average_spectrum(SpectrumContext c, SpectrumSource& source,
                                const SpectrumRequest& request, RunControl& run);

// The whole command for a request: begin, open, average (the number offered when the
// request asks for 0; cancelled when the file offers none), and save when an output is
// given.
SpectrumResult run_spectrum(SpectrumContext c, const SpectrumRequest& request, RunControl& run);

// Writes the current spectrum as a *.fft file at `path`. On failure gives the file and the
// reason in `error` and keeps any older file of that name.
bool save_spectrum_file(SpectrumContext c, const std::string& path, std::string& error);

}  // namespace kv
