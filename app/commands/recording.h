// The recording commands "Save orbit" and "Save poincare" as a request (kind, number of
// points, path) given to `record`, with what became of the recording. The window's
// handlers (Text13_Click, Text14_Click) ask the count and the path through the dialogs and
// fill the request; kestavor-cli fills it from its arguments.
#pragma once

#include "datafiles/point_count.h"

#include <cstdint>
#include <string>

#include "acquisition/get_data.h"

namespace kv {
struct Form1;
class RunControl;

enum class RecordingKind { Orbit, Poincare };

struct RecordingRequest {
  RecordingKind kind = RecordingKind::Orbit;
  std::int32_t points = 0;  // data lines after the first (N; N + 1 lines are written)
  std::string path;         // the *.pha or *.poi file; empty: nothing is recorded
};

struct RecordingOutcome {
  bool ran = false;  // a file was opened and a run made
  RunEnd end = RunEnd::Halted;
  bool kept = false;    // the file was kept at its path
  long long lines = 0;  // data lines written
  std::string path;
  std::string reason;  // a file error told to the user (opening or finishing the file)
};

// What a recording does to the screen before its questions: the help and the plots are
// cleared and the plots the kind needs are shown.
void prepare_recording(Form1& f, RecordingKind kind);

// Records `request.points` points into `request.path` under the given run control. An
// orbit recording of more than kMaxSavedPoints points is not made.
RecordingOutcome record(Form1& f, const RecordingRequest& request, RunControl& run);

// The window's commands, questions included; HALT and Clear are the window's buttons.
RecordingOutcome save_orbit(Form1& f);     // "Save orbit"
RecordingOutcome save_poincare(Form1& f);  // "Save poincare"

}  // namespace kv
