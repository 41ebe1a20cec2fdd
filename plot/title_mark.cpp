#include "plot/title_mark.h"

#include "plot/plot_state.h"

namespace kv {

void draw_title_frame(PlotState& f) {
  Surface& p = f.Picture4;
  p.set_scale(75, 75);
  p.DrawMode = kDrawCopyPen;
  // Lines one pixel of the raster wide, whatever its scale: at a scale where a unit spans
  // more than a pixel the lines one unit apart show as stripes, as they do at 1.25, and
  // are not thickened into solid bars (at the design's scale, 0.97 pixels a unit, they
  // meet, as before).
  const int width = p.DrawWidth;
  p.DrawWidth = 0;
  const double s = 75;
  struct Rows {
    double y0, y1, x0, x1;
  };
  const Rows rows[] = {
      {0, 0.09 * s, 0, s},
      {0.09 * s, 0.91 * s, 0.73 * s, s},
      {0.91 * s, s, 0, s},
      {0.18 * s, 0.27 * s, 0, 0.64 * s},
      {0.27 * s, 0.73 * s, 0, 0.27 * s},
      {0.73 * s, 0.82 * s, 0, 0.64 * s},
  };
  for (const Rows& r : rows) {
    for (double y = r.y0; y <= r.y1; y += 1) {
      p.Line(static_cast<float>(r.x0), static_cast<float>(y), static_cast<float>(r.x1),
             static_cast<float>(y), 0x000080);
    }
  }
  p.DrawWidth = width;
  p.Refresh();
}

}  // namespace kv
