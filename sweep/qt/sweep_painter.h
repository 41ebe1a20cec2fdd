// Painting a sweep's picture with Qt: the raster (orbit diagram: kept points per pixel;
// map: the exponent) on the viridis scale, a colour bar with its values, axes with round
// ticks, names and units, and the title. The window shows the image; kestavor-cli writes it
// as a PNG file through the temporary-file writer.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sweep/sweep_picture.h"

namespace kv {

// The colour of t in [0, 1] on the viridis scale (dark blue to yellow), as 8-bit RGB.
std::array<std::uint8_t, 3> viridis(double t);

// About `wanted` round tick values covering [from, to].
std::vector<double> axis_ticks(double from, double to, int wanted);

// Where the plot area lies in an image of the given size.
struct SweepPlotArea {
  int left, top, width, height;
};
SweepPlotArea sweep_plot_area(int image_width, int image_height);

QImage paint_sweep_picture(const SweepPicture& p, int width, int height);

// Writes the picture as a PNG file of width x height pixels; false with `error` set (the
// file named) when it cannot be written; an older file of that name then stays.
bool write_sweep_png(const SweepPicture& p, int width, int height, const std::string& path,
                     std::string& error);

}  // namespace kv
