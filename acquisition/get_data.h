// The acquisition engine: reads sample records from the interface box, decodes angle,
// time, revolution count and drive marker, fits the angular velocity over a sliding
// window of seven samples, draws the window-centre sample on the phase-plane or Poincare
// plot, stores it for printing, writes file lines while a recording is in progress and
// asks its run control about HALT and Clear, until the run stops.
#pragma once

namespace kv {
struct Form1;
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

// Runs until the run stops and tells how it ended; `run` is polled for HALT once per pass
// (and while the box is silent) and for Clear once per pass. When the box is gone, silent
// or out of data, the status text says so.
RunEnd get_data(Form1& f, RunControl& run);

// A short description of an ending for messages ("the interface box stopped answering").
const char* describe_run_end(RunEnd end);

}  // namespace kv
