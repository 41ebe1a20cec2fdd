// The recording commands "Save orbit" and "Save poincare" with what became of the
// recording, for callers that need more than the window does (kestavor-cli). Text13_Click
// and Text14_Click run exactly these.
#pragma once

#include "datafiles/point_count.h"

#include <cstdint>
#include <string>

#include "acquisition/get_data.h"

namespace kv {
struct Form1;
class RunControl;

struct RecordingOutcome {
  bool ran = false;  // a file was opened and a run made
  RunEnd end = RunEnd::Halted;
  bool kept = false;    // the file was kept at its path
  long long lines = 0;  // data lines written
  std::string path;
};

// The recordings under a given run control (kestavor-cli: a signal flag).
RecordingOutcome save_orbit(Form1& f, RunControl& run);
RecordingOutcome save_poincare(Form1& f, RunControl& run);
// The window's commands: HALT and Clear are the window's buttons.
RecordingOutcome save_orbit(Form1& f);     // "Save orbit"
RecordingOutcome save_poincare(Form1& f);  // "Save poincare"

}  // namespace kv
