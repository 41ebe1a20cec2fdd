// Where the acquisition's decoded samples go, in the order a pass hands them on: the plots
// (the phase plot, or the Poincare plot for a drive-cycle event), the print tables, the
// data file. The order matters: a Poincare point folds the angle the print table then
// stores, so every drawn pixel, stored row and written byte depends on it.
#pragma once

#include <cstdint>

#include "acquisition/sample_decoder.h"

namespace kv {
struct PlotState;
struct SaveState;
class FileTable;

// Draws the samples on Picture1 (phase plot) and Picture2 (Poincare plot).
class PlotSink {
 public:
  explicit PlotSink(PlotState& plot) : plot_(plot) {}
  // Places the sample: during the warm-up its print value is only stored; a drive-cycle
  // event goes on the Poincare plot (its angle folded to -2000 .. 2000 there), any other
  // sample on the phase plot.
  void take(const DecodedSample& s);
  // Shows Picture1 every 16th call.
  void show_now_and_then();
  // Clear: a freshly prepared phase plot.
  void restart();

 private:
  PlotState& plot_;
  i16 refresh_ = 0;  // calls since Picture1 was last shown
};

// Adds the sample's row to the print tables (orbit_points, and poincare_points for a
// drive-cycle event with V in the stored range), after the PlotSink has taken it: column 1
// is the value the phase plot stores for the angle as the plot left it.
void store_print_rows(PlotState& plot, const DecodedSample& s);

// Writes the samples' lines into the data file while a recording is in progress: every
// sample's orbit line, or a Poincare line for each drive-cycle event, from the fifth pass
// on.
class DataLineSink {
 public:
  enum class Line { none, written, failed };
  DataLineSink(const SaveState& save, FileTable& files) : save_(save), files_(files) {}
  Line take(const DecodedSample& s);
  // Lines written so far (64 bits: a count of 2^31 - 1 must never overflow it).
  std::int64_t written() const { return written_; }

 private:
  const SaveState& save_;
  FileTable& files_;
  std::int64_t written_ = 0;
  char line_[160];
};

}  // namespace kv
