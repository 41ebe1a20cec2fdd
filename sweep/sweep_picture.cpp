#include "sweep/sweep_picture.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>

namespace kv {

namespace {

constexpr double kPi = 3.141592653589793;

std::string axis_label(const PanelBox* box) {
  std::string name(box->caption);
  if (!name.empty() && name.back() == '=') name.pop_back();
  std::string unit(box->unit);
  unit.erase(0, unit.find_first_not_of(' '));
  return name + " (" + unit + ")";
}

double read_double(std::string_view text) {
  double v = std::numeric_limits<double>::quiet_NaN();
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::from_chars(text.data(), text.data() + text.size(), v);
  return v;
}

std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t start = 0, comma;
  while ((comma = line.find(',', start)) != std::string_view::npos) {
    out.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
  out.push_back(line.substr(start));
  return out;
}

int bin(double v, double from, double to, int n) {
  if (!(to > from)) return 0;
  const double t = (v - from) / (to - from);
  if (!(t >= 0 && t <= 1)) return -1;
  return std::min(n - 1, static_cast<int>(t * n));
}

}  // namespace

void SweepPicture::begin(const SweepRequest& r, OrbitAxis axis, double v_range, int max_width,
                         int max_height) {
  *this = SweepPicture{};
  axis_ = axis;
  kind = r.kind;
  x_label = axis_label(r.x.box);
  x_from = std::min(r.x.from, r.x.to);
  x_to = std::max(r.x.from, r.x.to);
  if (x_from == x_to) {
    x_from -= 0.5 * std::max(std::fabs(x_from), 1e-12);
    x_to += 0.5 * std::max(std::fabs(x_to), 1e-12);
  }
  width = static_cast<int>(std::min<std::int64_t>(r.x.steps, max_width));
  if (kind == SweepKind::orbit) {
    title = "Orbit diagram";
    y_label = axis == OrbitAxis::phase ? "phase (radian)" : "velocity (rad/s)";
    value_label = "kept points per pixel";
    const double range = axis == OrbitAxis::phase ? kPi : (v_range > 0 ? v_range : 1);
    y_from = -range;
    y_to = range;
    height = max_height;
    raster.assign(static_cast<std::size_t>(width) * height, 0.0f);
    return;
  }
  title = "Largest Lyapunov exponent";
  value_label = "largest Lyapunov exponent (1/s)";
  if (!r.y.box) {
    curve = true;
    y_label = value_label;
    curve_x.assign(static_cast<std::size_t>(width), std::numeric_limits<double>::quiet_NaN());
    curve_y = curve_x;
    unstable.assign(static_cast<std::size_t>(width), 0);
    return;
  }
  y_label = axis_label(r.y.box);
  y_from = std::min(r.y.from, r.y.to);
  y_to = std::max(r.y.from, r.y.to);
  height = static_cast<int>(std::min<std::int64_t>(r.y.steps, max_height));
  raster.assign(static_cast<std::size_t>(width) * height, 0.0f);
  counts_.assign(raster.size(), 0);
  unstable.assign(raster.size(), 0);
}

void SweepPicture::add(const SweepRequest& r, const SweepCell& c) {
  ++cells;
  // The column (and the map's row) of the cell; a range from high to low runs backwards.
  const auto place = [](std::int64_t i, const SweepAxis& a, int n) {
    const std::int64_t k = a.steps > 1 ? i * n / a.steps : 0;
    return static_cast<int>(a.from <= a.to ? k : n - 1 - k);
  };
  const int col = place(c.ix, r.x, width);
  if (kind == SweepKind::orbit) {
    for (const SweepPoint& p : c.points) {
      const int row = bin(axis_ == OrbitAxis::phase ? p.phase : p.velocity, y_from, y_to, height);
      if (row >= 0) raster[static_cast<std::size_t>(row) * width + col] += 1;
    }
    return;
  }
  if (curve) {
    const std::size_t k = static_cast<std::size_t>(col);
    if (c.state != CellState::ok) {
      unstable[k] = 1;
      return;
    }
    // Each column keeps the lowest and highest exponent of its cells.
    curve_x[k] = std::isnan(curve_x[k]) ? c.exponent : std::min(curve_x[k], c.exponent);
    curve_y[k] = std::isnan(curve_y[k]) ? c.exponent : std::max(curve_y[k], c.exponent);
    return;
  }
  const std::size_t k = static_cast<std::size_t>(place(c.iy, r.y, height)) * width + col;
  if (c.state != CellState::ok) {
    unstable[k] = 1;
    return;
  }
  raster[k] += static_cast<float>((c.exponent - raster[k]) / ++counts_[k]);  // running mean
}

void SweepPicture::finish() {
  value_min = std::numeric_limits<double>::infinity();
  value_max = -value_min;
  if (kind == SweepKind::orbit) {
    value_min = 0;
    value_max = 0;
    for (float v : raster) value_max = std::max<double>(value_max, v);
    return;
  }
  if (curve) {
    for (std::size_t k = 0; k < curve_x.size(); ++k) {
      if (std::isnan(curve_x[k])) continue;
      value_min = std::min(value_min, curve_x[k]);
      value_max = std::max(value_max, curve_y[k]);
    }
  } else {
    for (std::size_t k = 0; k < raster.size(); ++k) {
      if (counts_[k] == 0) continue;
      value_min = std::min<double>(value_min, raster[k]);
      value_max = std::max<double>(value_max, raster[k]);
    }
  }
  if (!(value_min <= value_max)) value_min = value_max = 0;
  if (value_min == value_max) {
    value_min -= 0.5;
    value_max += 0.5;
  }
  if (curve) {
    // The curve's axis includes 0, where order turns into chaos.
    y_from = std::min(value_min, 0.0);
    y_to = std::max(value_max, 0.0);
    const double pad = (y_to - y_from) * 0.05;
    y_from -= pad;
    y_to += pad;
  }
}

bool read_sweep_picture(const std::string& path, const SweepRequest& r, OrbitAxis axis,
                        SweepPicture& picture, std::string& error) {
  const int kWidth = 1000, kHeight = 600;
  double v_range = 0;
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 0 && (r.kind != SweepKind::orbit || axis != OrbitAxis::velocity)) continue;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      error = path + " cannot be read for its picture.";
      return false;
    }
    if (pass == 1) picture.begin(r, axis, v_range * 1.05, kWidth, kHeight);
    std::string line, key;
    bool columns_seen = false;
    SweepCell cell;
    std::int64_t index = -1;
    const auto hand_on = [&] {
      if (index >= 0 && pass == 1) picture.add(r, cell);
    };
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      if (!columns_seen) {
        columns_seen = true;
        continue;
      }
      const std::vector<std::string_view> f = fields(line);
      if (r.kind == SweepKind::orbit) {
        if (f.size() != 3) continue;
        if (pass == 0) {
          const double v = std::fabs(read_double(f[2]));
          if (std::isfinite(v)) v_range = std::max(v_range, v);
          continue;
        }
        if (f[0] != key || index < 0) {
          hand_on();
          key = std::string(f[0]);
          cell = SweepCell{};
          cell.index = ++index;
          cell.ix = index;
        }
        if (f[1].empty()) {
          cell.state = CellState::unstable;
          continue;
        }
        cell.points.push_back({read_double(f[1]), read_double(f[2])});
        continue;
      }
      const std::size_t values = r.y.box ? 2 : 1;
      if (f.size() != values + 2) continue;
      cell = SweepCell{};
      cell.index = ++index;
      cell.ix = index % r.x.steps;
      cell.iy = index / r.x.steps;
      cell.state = f[values].empty() ? CellState::unstable : CellState::ok;
      cell.exponent = read_double(f[values]);
      hand_on();
    }
    if (r.kind == SweepKind::orbit) hand_on();
  }
  picture.finish();
  return true;
}

}  // namespace kv
