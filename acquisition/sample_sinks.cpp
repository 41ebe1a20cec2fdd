#include "acquisition/sample_sinks.h"

#include <string_view>

#include "datafiles/data_lines.h"
#include "datafiles/save_file.h"
#include "plot/phase_plot.h"
#include "plot/plot_state.h"
#include "plot/poincare_plot.h"

namespace kv {

namespace {
constexpr i32 kRowLimit = 999999;
}  // namespace

void PlotSink::take(const DecodedSample& s) {
  PlotState& p = plot_;
  // The plot coordinates (saturating: such points lie off the surface anyway). Velocity
  // is drawn upward: a positive velocity lies above the centre line.
  p.poincare_y = p.Picture2.ScaleHeight() / 2.0 - 10 * s.velocity;
  p.phase_y = clng_sat(p.Picture1.ScaleHeight() / 2.0 - 10 * s.velocity);
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

void PlotSink::show_now_and_then() {
  if (refresh_ == 15) {
    plot_.Picture1.Refresh();
    refresh_ = 0;
  } else {
    ++refresh_;
  }
}

void PlotSink::restart() {
  plot_.Picture1.Cls();
  setup_phase_plot(plot_);
  draw_phase_axes(plot_);
}

void store_print_rows(PlotState& p, const DecodedSample& s) {
  // No row keeps a value from an earlier run: the new row's column 1 holds this point's
  // value until the next pass stores the next one.
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

DataLineSink::Line DataLineSink::take(const DecodedSample& s) {
  if (!(save_.saving && s.lines_due && (save_.saving_orbit || s.poincare_event))) return Line::none;
  std::size_t len;
  const double phase = phase_of_count(s.angle_count);
  const double omega = s.velocity * kVelocityToRadPerSec;
  if (save_.saving_orbit) {
    len = format_orbit_line(line_, s.time, phase, omega, s.revolutions);
  } else {
    len = format_poincare_line(line_, phase, omega);
  }
  if (!write_data_line(save_, files_, std::string_view(line_, len))) return Line::failed;
  ++written_;
  return Line::written;
}

}  // namespace kv
