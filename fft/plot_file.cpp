#include "fft/plot_file.h"

#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "app/state/form1.h"
#include "fft/spectrum_plot.h"
#include "platform/list_input.h"
#include "platform/number_format.h"
#include "platform/text_files.h"
#include "plot/phase_plot.h"
#include "plot/poincare_plot.h"

namespace kv {

namespace {

constexpr double kVelocityScale = 0.1569673;  // rad/s per velocity value
constexpr double kPiOrbit = 3.14159;          // pi of the orbit file's phase
constexpr double kPiPoincare = 3.1415927;     // pi used to read a Poincare file's phase
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

PlotFileOutcome plot_spectrum_file(Form1& f, std::string_view text, const std::string& path) {
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
  f.FFT_flag = kTrue;
  f.fft_points = 2048;
  f.window = window;
  std::copy(power.begin() + 1, power.end(), f.spectrum.begin() + 1);
  // No Lyapunov exponent belongs to a spectrum read from a file.
  f.lyapunov_exponent = std::numeric_limits<double>::quiet_NaN();
  plot_fft(f);
  out.status = PlotFileOutcome::Status::drawn;
  out.records = kPlotFileSpectrumLines;
  return out;
}

PlotFileOutcome plot_poincare_file(Form1& f, ListInput& in, const std::string& path,
                                   RunControl& run) {
  PlotFileOutcome out;
  out.kind = PlotFileOutcome::Kind::poincare;
  f.ui.set_text(Ctl::Label2, "Poincare plot");
  f.ui.set_visible(Ctl::Label2, true);
  f.poincare_cnt = 0;
  grid(f);
  start_poincare_marker(f);
  const double centre2 = f.Picture2.ScaleHeight() / 2.0;
  const double centre1 = f.Picture1.ScaleHeight() / 2.0;
  int refresh = 0;
  for (;;) {
    if (in.eof()) {
      f.saving = kFalse;
      out.status = PlotFileOutcome::Status::drawn;
      break;
    }
    if (run.halt_requested()) {
      out.status = PlotFileOutcome::Status::halted;
      break;
    }
    ++refresh;
    double phi = 0, omega = 0;
    if (!in.read_number(phi) || !in.read_number(omega)) {
      out.reason = bad_file(path, in.error());
      break;
    }
    const double v = omega / kVelocityScale;
    i16 counts = 0;
    if (!counts_of_phase(phi, kPiPoincare, counts)) {
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

// Plots the orbit records that follow the header in `in` until the end of the text or
// HALT. Clear restarts the plot.
PlotFileOutcome start_phase_plot(Form1& f, ListInput& in, const std::string& path,
                                 RunControl& run) {
  PlotFileOutcome out;
  out.kind = PlotFileOutcome::Kind::orbit;
  setup_phase_plot(f);
  draw_phase_axes(f);
  f.ui.set_visible(Ctl::Frame5, true);
  f.ui.set_visible(Ctl::Frame8, f.cycle_number == 0);
  f.ui.set_text(Ctl::Label3, "Phase plot");
  f.ui.set_visible(Ctl::Label3, true);
  f.ui.set_visible(Ctl::Image1, true);
  f.ui.set_visible(Ctl::Label2, false);
  f.ui.set_visible(Ctl::Picture2, false);

  int counter = 0;
  f.cnt = 0;
  const double centre = f.Picture1.ScaleHeight() / 2.0;
  const i32 r = f.cycle_number;
  for (;;) {
    if (in.eof()) {
      f.saving = kFalse;
      f.ui.set_visible(Ctl::Text3, false);
      f.ui.set_visible(Ctl::HScroll1, false);
      out.status = PlotFileOutcome::Status::drawn;
      break;
    }
    if (run.halt_requested()) {
      out.status = PlotFileOutcome::Status::halted;
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
    if (!counts_of_phase(phi, kPiOrbit, counts)) {
      out.reason = bad_file(path, out_of_range(in.line(), "phase", phi));
      break;
    }
    if (!(std::fabs(revolutions) < 500000)) {
      // More turns than the unwrapped angle (revolutions x 4000) can hold in 32 bits.
      out.reason = bad_file(path, out_of_range(in.line(), "revolution count", revolutions));
      break;
    }
    f.revolution_slots[3] = clng(revolutions);
    const double v = omega / kVelocityScale;
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

PlotFileOutcome plot_file(Form1& f, const PlotFileRequest& request, RunControl& run) {
  f.cnt = 0;
  f.poincare_cnt = 0;
  f.save_file_name = request.path;
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
    f.ui.set_visible(Ctl::Picture2, false);
    f.ui.set_visible(Ctl::Image2, false);
    f.ui.set_visible(Ctl::Picture1, true);
    f.ui.set_visible(Ctl::Frame5, true);
    for (Ctl c : {Ctl::Label2, Ctl::Frame9, Ctl::Frame10}) f.ui.set_visible(c, false);
    f.poincare_event = kFalse;
    f.sys.pump.repaint();
  } else if (kind == "POINCARE") {
    f.poincare_event = kTrue;
    f.ui.set_visible(Ctl::Picture2, true);
    for (Ctl c : {Ctl::Picture1, Ctl::Frame5, Ctl::Frame8, Ctl::Image1, Ctl::Label3})
      f.ui.set_visible(c, false);
    grid(f);
    f.sys.pump.repaint();
  } else {
    out.status = PlotFileOutcome::Status::unrecognised;
    out.reason = "The file " + request.path + " is not an orbit, Poincare or spectrum file: its " +
                 "second line reads \"" + kind.substr(0, 40) +
                 "\", not PHASE, POINCARE or FFT. Nothing was drawn.";
    return out;
  }

  if (kind == "FFT") return plot_spectrum_file(f, text, request.path);
  // The screen shows phase and Poincare plots, so Print makes the phase page.
  f.FFT_flag = kFalse;
  if (kind == "POINCARE") return plot_poincare_file(f, in, request.path, run);
  f.ui.set_value(Ctl::HScroll1, request.range_value);
  return start_phase_plot(f, in, request.path, run);
}

}  // namespace kv
