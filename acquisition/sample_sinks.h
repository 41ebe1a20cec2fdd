// Where the acquisition's decoded samples go, in the order a pass hands them on: the plots
// (the phase plot, or the Poincare plot for a drive-cycle event), the print tables, the
// data file. The order matters: a Poincare point folds the angle the print table then
// stores, so every drawn pixel, stored row and written byte depends on it. (The sinks are
// defined here so that the acquisition loop can take them in line: they run once per
// sample.)
#pragma once

#include <cstdint>
#include <string_view>

#include "acquisition/sample_decoder.h"
#include "datafiles/data_lines.h"
#include "datafiles/save_file.h"
#include "plot/phase_plot.h"
#include "plot/plot_state.h"
#include "plot/poincare_plot.h"

namespace kv {

// Draws the samples on Picture1 (phase plot) and Picture2 (Poincare plot).
class PlotSink {
 public:
  explicit PlotSink(PlotState& plot) : plot_(plot) {}

  // Places the sample: during the warm-up its print value is only stored; a drive-cycle
  // event goes on the Poincare plot (its angle folded to -2000 .. 2000 there), any other
  // sample on the phase plot.
  void take(const DecodedSample& s) {
    PlotState& p = plot_;
    // The plot coordinates (saturating: such points lie off the surface anyway).
    // Velocity is drawn upward: a positive velocity lies above the centre line.
    p.poincare_y = zero_velocity_y(p.Picture2) - 10 * s.velocity;
    p.phase_y = clng_sat(zero_velocity_y(p.Picture1) - 10 * s.velocity);
    p.phase_counts = static_cast<i16>(s.angle_count);
    p.revolution_slots[3] = s.revolutions;
    if (s.warm_up) {
      store_phase_point(p);
    } else if (s.poincare_event) {
      store_phase_point(p);  // before drawing, which folds phase_counts
      plot_poincare_point(p);
    } else {
      plot_phase_point(p);
    }
  }

  // Shows Picture1 every 16th call.
  void show_now_and_then() {
    if (refresh_ == 15) {
      plot_.Picture1.Refresh();
      refresh_ = 0;
    } else {
      ++refresh_;
    }
  }

  // Clear: a freshly prepared phase plot.
  void restart() {
    plot_.Picture1.Cls();
    setup_phase_plot(plot_);
    draw_phase_axes(plot_);
  }

 private:
  PlotState& plot_;
  i16 refresh_ = 0;  // calls since Picture1 was last shown
};

// Adds the sample's row to the print tables (orbit_points, and poincare_points for a
// drive-cycle event with V in the stored range), after the PlotSink has taken it: column 1
// is the value the phase plot stores for the angle as the plot left it. No row keeps a
// value from an earlier run: the new row's column 1 holds this point's value until the
// next sample stores the next one.
inline void store_print_rows(PlotState& p, const DecodedSample& s) {
  constexpr i32 kRowLimit = 999999;
  if (p.cnt <= kRowLimit) {
    ++p.cnt;
  } else {
    p.cnt = kRowLimit;
  }
  store_phase_point(p);
  const double v = s.velocity;
  const bool in_range = v > -2000 && v < 2000;
  p.orbit_points.at(p.cnt, 2) = in_range ? cint(10 * v) : 0;
  if (in_range && s.poincare_event) {
    if (p.poincare_cnt <= kRowLimit) {
      ++p.poincare_cnt;
    } else {
      p.poincare_cnt = kRowLimit;
    }
    p.poincare_points.at(p.poincare_cnt, 1) = cint(1.5 * s.angle_count);
    p.poincare_points.at(p.poincare_cnt, 2) = cint(10 * v);
  }
}

// Writes the samples' lines into the data file while a recording is in progress: every
// sample's orbit line, or a Poincare line for each drive-cycle event, from the fifth pass
// on.
class DataLineSink {
 public:
  enum class Line { none, written, failed };
  DataLineSink(const SaveState& save, FileTable& files) : save_(save), files_(files) {}

  Line take(const DecodedSample& s) {
    if (!(save_.saving && s.lines_due && (save_.saving_orbit || s.poincare_event)))
      return Line::none;
    std::size_t len;
    const double phase = phase_of_count(s.angle_count);
    const double omega = s.velocity * kRadPerSecPerV;
    if (save_.saving_orbit) {
      len = format_orbit_line(line_, s.time, phase, omega, s.revolutions);
    } else {
      len = format_poincare_line(line_, phase, omega);
    }
    if (!write_data_line(save_, files_, std::string_view(line_, len))) return Line::failed;
    ++written_;
    return Line::written;
  }

  // Lines written so far (64 bits: a count of 2^31 - 1 must never overflow it).
  std::int64_t written() const { return written_; }

 private:
  const SaveState& save_;
  FileTable& files_;
  std::int64_t written_ = 0;
  char line_[160];
};

}  // namespace kv
