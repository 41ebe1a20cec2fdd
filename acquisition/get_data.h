// The acquisition engine: reads sample records from the interface box, decodes each into a
// sample (sample_decoder.h) and hands it to its sinks (sample_sinks.h): the phase-plane or
// Poincare plot, the print tables and, while a recording is in progress, the data file. It
// asks its run control about HALT and Clear once per pass, until the run stops, and tells
// how the run ended; what the window shows about it is the caller's.
#pragma once

namespace kv {
struct AcquisitionState;
struct PlotState;
struct SaveState;
class Clock;
class FileTable;
class RunControl;

// How a run ended.
enum class RunEnd {
  Halted,        // HALT (or Escape) was pressed
  CountReached,  // a recording wrote its number_of_points + 1 lines
  BoxGone,       // the interface box disappeared (or none is open)
  BoxSilent,     // the box sent nothing for about two seconds
  EndOfData,     // a replayed recording ran out of records
  WriteError,    // a line could not be written to the data file
};

// Milliseconds one box read may wait before HALT is polled again.
inline constexpr int kReadTimeoutMs = 100;
// A box that delivers no new record for this long ends the run.
inline constexpr int kSilenceLimitMs = 2000;
// Consecutive failed reads that repeat the previous record before further failures are
// treated as silence (no pass is made for them).
inline constexpr int kMaxRepeatedRecords = 8;

// What a run works on: the box and the decoder's state, the plots with their print tables
// (and number_of_points, the N of a recording), the data file (lines are written while
// `save.saving`), and the clock that times a silent box.
struct AcquisitionContext {
  AcquisitionState& acq;
  PlotState& plot;
  SaveState& save;
  FileTable& files;
  Clock& clock;
};

// Runs until the run stops and tells how it ended; `run` is polled for HALT once per pass
// (and while the box is silent) and for Clear once per pass, and told the lines written.
RunEnd get_data(const AcquisitionContext& c, RunControl& run);

// A short description of an ending for messages ("the interface box stopped answering").
const char* describe_run_end(RunEnd end);

}  // namespace kv
