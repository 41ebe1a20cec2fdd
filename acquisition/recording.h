// The recordings "Save orbit" and "Save poincare" as an engine: a request (kind, number of
// points, path) run on the acquisition's state groups, with the data file as the sink the
// samples' lines go to. The engine opens the file with its header, prepares the plots the
// kind needs, runs the acquisition (get_data) until N + 1 lines are written, HALT, or the
// box ends the run, then keeps or throws away the file, and returns what became of it. It
// shows nothing: the window colours its buttons around it through the request's hooks and
// tells the outcome; kestavor-cli prints it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "acquisition/get_data.h"
#include "platform/outcome.h"

namespace kv {
class Clock;
class InterfaceBox;
class RunControl;

enum class RecordingKind { Orbit, Poincare };

// Told as the recording goes; any may be left empty.
struct RecordingHooks {
  std::function<void()> opened;       // the file is open and saving has begun
  std::function<void()> running;      // the plots are prepared; the run starts next
  std::function<void(RunEnd)> ended;  // the run ended; the file is still open
};

struct RecordingRequest {
  RecordingKind kind = RecordingKind::Orbit;
  std::int32_t points = 0;  // data lines after the first (N; N + 1 lines are written)
  std::string path;         // the *.pha or *.poi file; empty: nothing is recorded
  RecordingHooks hooks{};
};

// done: N + 1 lines were written and kept, or a replay ran out of records after the first
// data line (the lines written are kept; `summary` says so). halted: HALT stopped it and
// the file was not kept. refused: more orbit points than kMaxSavedPoints, or no path (a
// cancelled question; no reason). failed: the file could not be opened, written or kept,
// or the box went silent or away (what was written before is kept when there was a data
// line). The reason (refused, failed) is `file_error` when there is one, else `summary`.
struct RecordingOutcome : Outcome {
  bool ran = false;  // a file was opened and a run made
  RunEnd end = RunEnd::Halted;
  bool kept = false;    // the file was kept at its path
  long long lines = 0;  // data lines written
  std::string path;
  std::string file_error;  // the data file could not be opened or finished: which and why
  std::string summary;     // how a run that did not reach its count ended, for the user
};

// Records `request.points` points into `request.path` under the given run control, from
// the box in c.acq.device.
RecordingOutcome record(const AcquisitionContext& c, const RecordingRequest& request,
                        RunControl& run);

// The same on state groups of its own that start as a program's do, reading `box` (which
// is closed at the end): the recording of kestavor-cli's record and decode.
RecordingOutcome record_from_box(std::unique_ptr<InterfaceBox> box, const RecordingRequest& request,
                                 Clock& clock, RunControl& run);

}  // namespace kv
