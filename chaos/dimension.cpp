#include "chaos/dimension.h"

#include <bit>
#include <cmath>
#include <limits>

#include "datafiles/file_kind.h"
#include "datafiles/pendulum_units.h"
#include "platform/input_file.h"
#include "platform/list_input.h"
#include "platform/number_format.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
#include "plot/poincare_plot.h"

namespace kv {

namespace {

constexpr double kVelocityHalfRange = 140;  // rad/s mapped onto 0..1: -140..140

constexpr int side(int e) {
  return 2 << e;  // 2^(e+1)
}
constexpr std::size_t cells(int e) {
  return static_cast<std::size_t>(side(e) + 1) * static_cast<std::size_t>(side(e) + 1);
}

// Nearest box index of a scaled coordinate, or -1 when it lies outside 0..s.
int box_index(double scaled, int s) {
  const double r = round_half_even(scaled * s - 0.5);
  return (r >= 0 && r <= s) ? static_cast<int>(r) : -1;
}

std::string unreadable(const std::string& path, const std::string& why) {
  return "The file " + path + " cannot be read as a Poincare file: " + why + ".";
}

}  // namespace

BoxCounter::BoxCounter() {
  for (int e = 0; e < kDimensionLevels; ++e) bits_[e].assign((cells(e) + 63) / 64, 0);
}

void BoxCounter::clear() {
  for (auto& b : bits_) std::fill(b.begin(), b.end(), 0);
}

void BoxCounter::mark(int phase_counts, double velocity) {
  const double a = phase_counts / 4000.0;
  const double b = (velocity + kVelocityHalfRange) / (2 * kVelocityHalfRange);
  for (int e = 0; e < kDimensionLevels; ++e) {
    const int s = side(e);
    const int ix = box_index(a, s);
    const int iy = box_index(b, s);
    if (ix < 0 || iy < 0) continue;
    const std::size_t cell = static_cast<std::size_t>(ix) * (s + 1) + static_cast<std::size_t>(iy);
    bits_[e][cell / 64] |= std::uint64_t{1} << (cell % 64);
  }
}

std::array<std::int32_t, kDimensionLevels> BoxCounter::totals() const {
  std::array<std::int32_t, kDimensionLevels> t{};
  for (int e = 0; e < kDimensionLevels; ++e) {
    const int s = side(e);
    const auto& b = bits_[e];
    for (int ix = 1; ix <= s - 1; ++ix) {
      // Cells (ix, 1) .. (ix, s - 1) are consecutive bits.
      std::size_t from = static_cast<std::size_t>(ix) * (s + 1) + 1;
      const std::size_t to = from + static_cast<std::size_t>(s - 1);
      while (from < to) {
        const std::size_t word = from / 64;
        const unsigned shift = from % 64;
        const std::size_t n = std::min<std::size_t>(64 - shift, to - from);
        std::uint64_t w = b[word] >> shift;
        if (n < 64) w &= (std::uint64_t{1} << n) - 1;
        t[e] += std::popcount(w);
        from += n;
      }
    }
  }
  return t;
}

bool dimension_phase_counts(double phi, std::int16_t& counts) {
  const double c = round_half_even((phi + kSimulationPiSingle) * 2000 / kSimulationPiSingle);
  if (!(c >= -32768 && c <= 32767)) return false;
  counts = static_cast<std::int16_t>(c);
  return true;
}

double capacity_dimension(const std::array<std::int32_t, kDimensionLevels>& totals) {
  double sxy = 0, sy = 0, sx = 0;
  std::int32_t sxx = 0;
  for (int e = 0; e < kDimensionLevels; ++e) {
    if (totals[e] <= 0) return std::numeric_limits<double>::quiet_NaN();
    const double x = std::log(static_cast<double>(side(e)));
    const double y = std::log(static_cast<double>(totals[e]));
    sxy = sxy + x * y;
    sy = sy + y;
    sx = sx + x;
    sxx = clng(x * x + sxx);
  }
  const double n = kDimensionLevels;
  return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

std::string dimension_text(double dimension, int points) {
  const std::string d = std::isnan(dimension) ? "undefined" : format_pattern(dimension, "#.####");
  return "Capacity dimension=" + d + "\r\nNumber of points=" + std::to_string(points);
}

DimensionOutcome capacity_dimension_of_file(PlotState& f, const DimensionRequest& request,
                                            RunControl& run) {
  DimensionOutcome out;
  // Streamed: only the lines of the points used are read, in a window of bounded size.
  InputFile file;
  std::string error;
  if (!file.open(request.path, error)) {
    out.reason = error;
    return out;
  }
  ListInput in(file);
  double count = 0;
  std::string word;
  if (!in.read_number(count)) {
    out.reason = unreadable(request.path, in.eof() ? "the file is empty" : in.error());
    return out;
  }
  f.number_of_points = clng_sat(count);
  if (!in.read_word(word)) {
    out.reason = unreadable(request.path, "line 2: the kind word is missing");
    return out;
  }
  if (file_kind(word) != FileKind::poincare) {
    out.status = Status::refused;
    out.reason = file_kind(word) == FileKind::orbit
                     ? "The file " + request.path +
                           " is an orbit file; the capacity dimension needs a Poincare file "
                           "(*.poi)."
                     : wrong_kind(request.path, word, FileKind::poincare);
    return out;
  }

  grid(f);
  start_poincare_marker(f);
  for (PlotPart part : {PlotPart::poincare_velocity_title, PlotPart::poincare_velocity_scale,
                        PlotPart::poincare_angle_scale})
    f.view->show(part, true);
  f.view->show_drawn();
  f.view->set_title(PlotPart::poincare_title, "Poincare plot");

  BoxCounter boxes;
  const double centre = zero_velocity_y(f.Picture2);
  int n = 0;
  bool bad = false, halted = false;
  for (;;) {
    if (run.halt_requested()) {
      halted = true;
      break;
    }
    if (in.eof() || n >= kDimensionMaxPoints) break;
    double phi = 0, v = 0;
    if (!in.read_number(phi) || !in.read_number(v)) {
      out.reason = unreadable(request.path, in.error());
      bad = true;
      break;
    }
    std::int16_t counts = 0;
    if (!dimension_phase_counts(phi, counts)) {
      out.reason = unreadable(request.path, "line " + std::to_string(in.line()) + ": the phase " +
                                                format_general15(phi) + " is out of range");
      bad = true;
      break;
    }
    ++n;
    f.phase_counts = counts;
    // The boxes are marked before drawing, which folds phase_counts above 2000.
    boxes.mark(counts, v);
    // Velocity is drawn upward: a positive velocity lies above the centre line.
    f.poincare_y = centre - 10 * v / kRadPerSecPerV;
    plot_poincare_point(f);
  }
  out.points = n;
  if (bad) return out;
  out.box_totals = boxes.totals();
  out.dimension = capacity_dimension(out.box_totals);
  out.text = dimension_text(out.dimension, n);
  if (halted) {
    out.status = Status::halted;
  } else if (std::isnan(out.dimension)) {
    out.status = Status::refused;
    out.reason =
        request.path + ": the capacity dimension is undefined (a box size has no occupied box)";
  } else {
    out.status = Status::done;
  }
  return out;
}

}  // namespace kv
