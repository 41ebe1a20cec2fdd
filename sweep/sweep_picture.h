// The picture of a sweep as a raster a face paints: an orbit diagram as the number of kept
// points falling on each pixel (parameter across, phase or velocity up), a map as the
// exponent of each pixel's cells, a one-parameter map as the exponent against the
// parameter. Built from cells as they come (the window) or from a sweep file in two
// passes (kestavor-cli --png), in memory bounded by the raster whatever the grid. No Qt:
// sweep/qt paints it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sweep/sweep.h"

namespace kv {

enum class OrbitAxis { phase, velocity };

struct SweepPicture {
  SweepKind kind = SweepKind::orbit;
  bool curve = false;  // a one-parameter map: exponent against parameter
  std::string title, x_label, y_label, value_label;
  double x_from = 0, x_to = 1, y_from = 0, y_to = 1;  // axes (y: the curve's exponent range)
  int width = 0, height = 0;                          // raster; row 0 at the bottom
  // Orbit: points per pixel. Map: the mean exponent of the cells on the pixel (NaN for
  // none). Curve: unused.
  std::vector<float> raster;
  std::vector<std::uint8_t> unstable;    // map: a cell on the pixel blew up or was refused
  std::vector<double> curve_x, curve_y;  // curve: parameter and exponent of every cell
  double value_min = 0, value_max = 0;   // map: exponent range; orbit: largest count
  std::int64_t cells = 0;

  // Starts an empty picture of the request with at most `max_width` x `max_height` pixels;
  // an orbit diagram's vertical range is that of `axis`: phase from -pi to pi, velocity
  // from -v_range to v_range (rad/s).
  void begin(const SweepRequest& r, OrbitAxis axis, double v_range, int max_width, int max_height);
  void add(const SweepRequest& r, const SweepCell& c);
  // Sets value_min and value_max from the raster (after the cells are added).
  void finish();

 private:
  OrbitAxis axis_ = OrbitAxis::phase;
  std::vector<std::uint32_t> counts_;  // map: cells per pixel
};

// The picture of a sweep file written for `r`: a first pass finds the velocity range, the
// second fills the raster. False with `error` set when the file cannot be read.
bool read_sweep_picture(const std::string& path, const SweepRequest& r, OrbitAxis axis,
                        SweepPicture& picture, std::string& error);

}  // namespace kv
