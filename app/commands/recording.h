// The window's side of the recordings "Save orbit" and "Save poincare": the screen made
// ready, the point count and the path asked through the dialogs, and the recording engine
// (acquisition/recording.h) run with the button white, HALT coloured around the run, and
// its outcome told (a "File error" box, the status text).
#pragma once

#include "acquisition/recording.h"

namespace kv {
struct Form1;
class RunControl;

// What a recording does to the screen before its questions: the help and the plots are
// cleared and the plots the kind needs are shown.
void prepare_recording(Form1& f, RecordingKind kind);

// Runs the request on the window's state and tells its outcome as the window does.
RecordingOutcome record_in_window(Form1& f, RecordingRequest request, RunControl& run);

// The window's commands, questions included; HALT and Clear are the window's buttons.
RecordingOutcome save_orbit(Form1& f);     // "Save orbit"
RecordingOutcome save_poincare(Form1& f);  // "Save poincare"

}  // namespace kv
