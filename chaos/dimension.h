// The capacity dimension of a Poincare file ("Dimension"): up to 5000 points are read,
// drawn on the Poincare plot and marked, for nine box sizes (2 to 512 boxes per side), in
// a square grid over phase -pi..pi and velocity -140..140 rad/s; the dimension is the
// least-squares slope of ln(occupied boxes) against ln(boxes per side).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/outcome.h"
#include "platform/run_control.h"

namespace kv {
struct PlotState;

inline constexpr int kDimensionMaxPoints = 5000;
inline constexpr int kDimensionLevels = 9;  // levels 0..8: 2^(e+1) boxes per side

// Occupancy of the boxes of every level: one bit per box (ix, iy), 0 <= ix, iy <= s with
// s = 2^(e+1). A point whose index falls outside 0..s at some level is not marked there
// (such boxes are never counted anyway). Counting takes boxes 1..s-1 in both directions.
class BoxCounter {
 public:
  BoxCounter();
  // Marks the boxes of a point given as its angle count (0..4000 for -pi..pi) and its
  // velocity in rad/s.
  void mark(int phase_counts, double velocity);
  // Occupied counted boxes per level.
  std::array<std::int32_t, kDimensionLevels> totals() const;
  void clear();

 private:
  std::array<std::vector<std::uint64_t>, kDimensionLevels> bits_;
};

// Angle count of a Poincare file's phase: (phi + pi) * 2000 / pi rounded half to even,
// with the single-precision pi. Out of the 16-bit range: false.
bool dimension_phase_counts(double phi, std::int16_t& counts);

// The least-squares slope D of ln(totals(e)) against ln(2^(e+1)); NaN (undefined) when a
// level has no counted box.
double capacity_dimension(const std::array<std::int32_t, kDimensionLevels>& totals);

// "Capacity dimension=" D in "#.####" (or "undefined"), CR LF, "Number of points=" n.
std::string dimension_text(double dimension, int points);

struct DimensionRequest {
  std::string path;  // the Poincare file
};

// done: D is defined. halted: HALT ended the reading, D is estimated from the points read
// (NaN when undefined). refused: an orbit file was chosen (nothing is drawn), or a level
// has no counted box (D is undefined, NaN). failed: the file cannot be read, or an item is missing
// or not a number. The reason (refused, failed) names the file and, for an item, the line.
struct DimensionOutcome : Outcome {
  double dimension = 0;
  int points = 0;  // points read and drawn
  std::array<std::int32_t, kDimensionLevels> box_totals{};
  std::string text;  // the status text, once the points are counted (even when undefined)
};

// Reads, draws and counts the points of the file and fits the dimension. HALT (through
// `run`) ends the reading; the estimate then uses the points read so far. The grid is
// drawn, and the Poincare plot's scales shown (and made visible through plots.view), once
// the file is known to be a Poincare file. The header's count is left in
// number_of_points.
DimensionOutcome capacity_dimension_of_file(PlotState& plots, const DimensionRequest& request,
                                            RunControl& run);

}  // namespace kv
