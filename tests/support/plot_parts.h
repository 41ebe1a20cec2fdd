// For tests of the engines run on their state groups alone: a PlotView that remembers what
// the engine showed, hid, titled and had repainted, and a comparison of two surfaces'
// rasters.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <string_view>

#include "platform/surface.h"
#include "plot/plot_view.h"

namespace kv::test {

class RecordingPlotView final : public PlotView {
 public:
  std::map<PlotPart, bool> shown;  // the last show() of each part
  std::map<PlotPart, std::string> titles;
  int range = 0;
  int repaints = 0;  // show_drawn() calls

  void show(PlotPart part, bool visible) override { shown[part] = visible; }
  void set_title(PlotPart part, std::string_view text) override { titles[part] = text; }
  int range_value() const override { return range; }
  void set_range_value(int value) override { range = value; }
  void show_drawn() override { ++repaints; }

  // Shown last, and hidden last (a part never mentioned is neither).
  bool visible(PlotPart part) const {
    const auto it = shown.find(part);
    return it != shown.end() && it->second;
  }
  bool hidden(PlotPart part) const {
    const auto it = shown.find(part);
    return it != shown.end() && !it->second;
  }
};

inline bool same_pixels(const Surface& a, const Surface& b) {
  if (a.pixel_width() != b.pixel_width() || a.pixel_height() != b.pixel_height()) return false;
  const long n = static_cast<long>(a.pixel_width()) * a.pixel_height();
  return std::equal(a.pixels(), a.pixels() + n, b.pixels());
}

}  // namespace kv::test
