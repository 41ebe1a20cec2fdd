// Decoding of the interface box's sample records, one pass at a time: the decoder's state
// and one record in, one decoded sample out. Each record enters a sliding window of seven
// samples (angles, times, revolution counts); the angle is unwrapped across the zero count,
// the time across the wraps of the 16-bit time counter, and the velocity V is the slope of
// a least-squares line through the window. The sample handed on is the window's centre.
// Nothing here reads a box, draws or writes: the acquisition run (get_data) passes each
// sample to its sinks.
#pragma once

#include "platform/interface_box.h"
#include "platform/vb_numeric.h"

namespace kv {

// Samples in the window the velocity is fitted over.
inline constexpr i32 kFitPoints = 7;

// What the decoder keeps between records. The windows are numbered from 1, newest first
// (element 0 is unused). The revolution counts, the marker and the windows carry over
// from one run to the next; the counters and V start again with each run.
struct DecoderState {
  double rollover = 0;          // revolution count of the previous sample
  double initial_rollover = 0;  // raw revolution count at the second pass of a run
  i32 rollover_prev = 0;        // revolution count of the newest sample, relative
  u8 POIN_prev = 0;             // drive-marker bit of the previous sample (0 or 16)
  double angle_window[17] = {};
  double time_window[17] = {};
  // Revolution counts of the samples in the window; element 3 is the centre sample's.
  i32 revolution_window[10] = {};
  vb_bool poincare_event = kFalse;  // the newest record raised the drive marker
  // The fitted velocity value V of the last pass (kept when no fit is possible).
  double velocity = 0;
  i32 passes = 0;      // passes of the run, counted up to the end of the warm-up
  i32 time_wraps = 0;  // wraps of the time counter during the run
};

// One decoded sample: the window's centre after the newest record went in.
struct DecodedSample {
  i32 angle_count = 0;          // angle, 4000 counts per revolution (0 .. 4095)
  i32 revolutions = 0;          // revolutions, counted from the run's second sample
  double velocity = 0;          // V: 40000 x angle counts per time count (x kRadPerSecPerV: rad/s)
  bool poincare_event = false;  // the drive marker rose with the newest record
  // The box's time counter in seconds, counted on across its wraps during the run, of
  // the record before the newest (the time column of the orbit file).
  double time = 0;
  bool warm_up = false;    // one of the run's first kFitPoints + 4 passes: not drawn
  bool lines_due = false;  // from the seventh pass on, the sample has its data file line
};

// Starts a run: seven-sample windows, the windows' older elements emptied, the counters
// and V at 0, no drive-cycle event.
void start_decoding(DecoderState& s);
// Decodes one record (the previous record again after a transient read failure).
DecodedSample decode_record(DecoderState& s, const SampleRecord& record);
// Clear pressed while nothing is recorded: the warm-up starts again.
inline void restart_warm_up(DecoderState& s) {
  s.passes = 0;
}

}  // namespace kv
