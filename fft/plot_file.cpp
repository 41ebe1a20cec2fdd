#include "fft/plot_file.h"

#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "chaos/chaos_state.h"
#include "datafiles/pendulum_units.h"
#include "datafiles/save_state.h"
#include "fft/spectrum_plot.h"
#include "fft/spectrum_state.h"
#include "platform/list_input.h"
#include "platform/number_format.h"
#include "platform/text_files.h"
#include "plot/phase_plot.h"
#include "plot/plot_state.h"
#include "plot/poincare_plot.h"

namespace kv {

namespace {

constexpr i32 kRowLimit = 999999;
constexpr int kRefreshEvery = 10;

// Row counters advance as the acquisition's do: after 999999 they alternate between
// 999999 and 1000000, so no file overruns the tables.
inline i32 next_row(i32 row) {
  return row <= kRowLimit ? row + 1 : kRowLimit;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// Line `n` (1-based) of the text without its line end; empty past the end.
std::string_view text_line(std::string_view text, int n) {
  std::size_t pos = 0;
  for (int i = 1; i < n; ++i) {
    const std::size_t nl = text.find('\n', pos);
    if (nl == std::string_view::npos) return {};
    pos = nl + 1;
  }
  const std::size_t nl = text.find('\n', pos);
  return text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
}

std::string bad_file(const std::string& path, const std::string& why) {
  return "The file " + path + " cannot be plotted: " + why + ".";
}

std::string out_of_range(int line, const char* what, double value) {
  return "line " + std::to_string(line) + ": the " + what + " " + format_general15(value) +
         " is out of range";
}

// Angle count of a file phase (phi / pi + 1) * 2000, rounded half to even; false when it
// does not fit 16 bits.
bool counts_of_phase(double phi, double pi, i16& counts) {
  const double c = round_half_even((phi / pi + 1) * 2000);
  if (!(c >= -32768 && c <= 32767)) return false;
  counts = static_cast<i16>(c);
  return true;
}

PlotFileOutcome plot_spectrum_file(PlotFileContext c, std::string_view text,
                                   const std::string& path) {
  PlotFileOutcome out;
  out.kind = PlotFileOutcome::Kind::spectrum;
  const std::string window(trimmed(text_line(text, 3)));
  ListInput in(text);
  for (int i = 0; i < 3; ++i) in.skip_line();
  std::vector<float> power(kPlotFileSpectrumLines + 1, 0.0f);
  for (int j = 1; j <= kPlotFileSpectrumLines; ++j) {
    double frequency = 0;
    if (in.eof()) {
      out.reason =
          bad_file(path, "it holds " + std::to_string(j - 1) + " spectrum lines, fewer than " +
                             std::to_string(kPlotFileSpectrumLines));
      return out;
    }
    if (!in.read_number(frequency)) {
      out.reason = bad_file(path, in.error());
      return out;
    }
    // The power is read directly in single precision.
    if (!in.read_float(power[j])) {
      out.reason = bad_file(path, in.error());
      return out;
    }
    if (power[j] <= 0) power[j] = kSpectrumFloor;
  }
  SpectrumState& s = c.spectrum;
  s.FFT_flag = kTrue;
  s.fft_points = 2048;
  s.window = window;
  std::copy(power.begin() + 1, power.end(), s.spectrum.begin() + 1);
  // No Lyapunov exponent belongs to a spectrum read from a file.
  c.chaos.lyapunov_exponent = std::numeric_limits<double>::quiet_NaN();
  plot_fft(c.plots, s);
  out.status = Status::done;
  out.records = kPlotFileSpectrumLines;
  return out;
}

PlotFileOutcome plot_poincare_file(PlotState& f, SaveState& save, ListInput& in,
                                   const std::string& path, RunControl& run) {
  PlotFileOutcome out;
  out.kind = PlotFileOutcome::Kind::poincare;
  f.view->set_title(PlotPart::poincare_title, "Poincare plot");
  f.view->show(PlotPart::poincare_title, true);
  f.poincare_cnt = 0;
  grid(f);
  start_poincare_marker(f);
  const double centre2 = zero_velocity_y(f.Picture2);
  const double centre1 = zero_velocity_y(f.Picture1);
  int refresh = 0;
  for (;;) {
    if (in.eof()) {
      save.saving = kFalse;
      out.status = Status::done;
      break;
    }
    if (run.halt_requested()) {
      out.status = Status::halted;
      break;
    }
    ++refresh;
    double phi = 0, omega = 0;
    if (!in.read_number(phi) || !in.read_number(omega)) {
      out.reason = bad_file(path, in.error());
      break;
    }
    const double v = omega / kRadPerSecPerV;
    i16 counts = 0;
    if (!counts_of_phase(phi, kSimulationPi, counts)) {
      out.reason = bad_file(path, out_of_range(in.line(), "phase", phi));
      break;
    }
    f.phase_counts = counts;
    // Velocity is drawn upward: a positive velocity lies above the centre line.
    f.poincare_y = centre2 - 10 * v;
    f.phase_y = clng_sat(centre1 - 10 * v);
    plot_poincare_point(f);
    if (refresh == kRefreshEvery) {
      f.Picture1.Refresh();
      f.Picture2.Refresh();
      refresh = 0;
    }
    f.poincare_cnt = next_row(f.poincare_cnt);
    // The same horizontal print value as the acquisition: 1.5 x the folded count.
    f.poincare_points.at(f.poincare_cnt, 1) = cint(1.5 * f.phase_counts);
    f.poincare_points.at(f.poincare_cnt, 2) = std::fabs(10 * v) < 30000 ? cint(10 * v) : 0;
    ++out.records;
    run.progress(static_cast<std::int64_t>(in.position()), static_cast<std::int64_t>(in.size()));
  }
  f.Picture2.Refresh();
  return out;
}

}  // namespace

int range_value_for_cycles(int cycle_number) {
  for (int v = 0; v <= 5; ++v)
    if ((v == 0 ? 0 : 1 << v) == cycle_number) return v;
  return -1;
}

PlotFileOutcome start_phase_plot(PlotState& f, SaveState& save, ListInput& in,
                                 const std::string& path, RunControl& run) {
  PlotFileOutcome out;
  out.kind = PlotFileOutcome::Kind::orbit;
  PlotView& view = *f.view;
  setup_phase_plot(f);
  draw_phase_axes(f);
  view.show(PlotPart::phase_velocity_scale, true);
  view.show(PlotPart::phase_angle_scale, f.cycle_number == 0);
  view.set_title(PlotPart::phase_title, "Phase plot");
  view.show(PlotPart::phase_title, true);
  view.show(PlotPart::phase_velocity_title, true);
  view.show(PlotPart::poincare_title, false);
  view.show(PlotPart::poincare_plot, false);

  int counter = 0;
  f.cnt = 0;
  const double centre = zero_velocity_y(f.Picture1);
  const i32 r = f.cycle_number;
  for (;;) {
    if (in.eof()) {
      save.saving = kFalse;
      view.show(PlotPart::range_text, false);
      view.show(PlotPart::range_scroll, false);
      out.status = Status::done;
      break;
    }
    if (run.halt_requested()) {
      out.status = Status::halted;
      break;
    }
    ++counter;
    double t = 0, phi = 0, omega = 0, revolutions = 0;
    if (!in.read_number(t) || !in.read_number(phi) || !in.read_number(omega) ||
        !in.read_number(revolutions)) {
      out.reason = bad_file(path, in.error());
      break;
    }
    i16 counts = 0;
    if (!counts_of_phase(phi, kFilePi, counts)) {
      out.reason = bad_file(path, out_of_range(in.line(), "phase", phi));
      break;
    }
    if (!(std::fabs(revolutions) < 500000)) {
      // More turns than the unwrapped angle (revolutions x 4000) can hold in 32 bits.
      out.reason = bad_file(path, out_of_range(in.line(), "revolution count", revolutions));
      break;
    }
    f.revolution_slots[3] = clng(revolutions);
    const double v = omega / kRadPerSecPerV;
    f.phase_counts = counts;
    // Velocity is drawn upward: a positive velocity lies above the centre line.
    f.phase_y = clng_sat(centre - 10 * v);
    plot_phase_point(f);
    if (counter == kRefreshEvery) {
      f.Picture1.Refresh();
      counter = 0;
    }
    if (run.clear_requested() && !in.eof()) {
      setup_phase_plot(f);
      f.cnt = 0;
    }
    f.cnt = next_row(f.cnt);
    if (r > 1) {
      // The row's horizontal value for a wide range; a value beyond the page drops the
      // row again. Only a row written here is tested.
      f.orbit_points.at(f.cnt, 1) = clng(f.phase_counts * 1.5 / (r + 1) + 3000);
      if (f.orbit_points.at(f.cnt, 1) > 6000) f.cnt = std::max(f.cnt - 1, 0);
      if (f.orbit_points.at(f.cnt, 1) < 0) f.cnt = std::max(f.cnt - 1, 0);
    }
    f.orbit_points.at(f.cnt, 2) = (v > -3000 && v < 3000) ? cint(10 * v) : 0;
    ++out.records;
    run.progress(static_cast<std::int64_t>(in.position()), static_cast<std::int64_t>(in.size()));
  }
  f.Picture1.Refresh();
  return out;
}

PlotFileOutcome plot_file(PlotFileContext c, const PlotFileRequest& request, RunControl& run) {
  PlotState& f = c.plots;
  PlotView& view = *f.view;
  f.cnt = 0;
  f.poincare_cnt = 0;
  PlotFileOutcome out;
  std::string text, error;
  if (!read_whole_file(request.path, text, error)) {
    out.reason = error;
    return out;
  }
  const std::string kind(trimmed(text_line(text, 2)));
  ListInput in(text);
  in.skip_line();
  in.skip_line();

  if (kind == "PHASE" || kind == "FFT") {
    view.show(PlotPart::poincare_plot, false);
    view.show(PlotPart::poincare_velocity_title, false);
    view.show(PlotPart::phase_plot, true);
    view.show(PlotPart::phase_velocity_scale, true);
    for (PlotPart part : {PlotPart::poincare_title, PlotPart::poincare_angle_scale,
                          PlotPart::poincare_velocity_scale})
      view.show(part, false);
    view.show_drawn();
  } else if (kind == "POINCARE") {
    view.show(PlotPart::poincare_plot, true);
    for (PlotPart part :
         {PlotPart::phase_plot, PlotPart::phase_velocity_scale, PlotPart::phase_angle_scale,
          PlotPart::phase_velocity_title, PlotPart::phase_title})
      view.show(part, false);
    grid(f);
    view.show_drawn();
  } else {
    out.status = Status::refused;
    out.reason = "The file " + request.path + " is not an orbit, Poincare or spectrum file: its " +
                 "second line reads \"" + kind.substr(0, 40) +
                 "\", not PHASE, POINCARE or FFT. Nothing was drawn.";
    return out;
  }

  if (kind == "FFT") return plot_spectrum_file(c, text, request.path);
  // The screen shows phase and Poincare plots, so Print makes the phase page.
  c.spectrum.FFT_flag = kFalse;
  if (kind == "POINCARE") return plot_poincare_file(f, c.save, in, request.path, run);
  view.set_range_value(request.range_value);
  return start_phase_plot(f, c.save, in, request.path, run);
}

}  // namespace kv
