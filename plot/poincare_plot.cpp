#include "plot/poincare_plot.h"

#include "platform/colors.h"
#include "plot/plot_state.h"

namespace kv {

namespace {
void draw_cross(Surface& s, float x, float y) {
  s.Line(x - 175, y, x - 7, y, kRed);
  s.Line(x + 7, y, x + 175, y, kRed);
  s.Line(x, y - 175, x, y - 7, kRed);
  s.Line(x, y + 7, x, y + 175, kRed);
}
}  // namespace

void grid(PlotState& f) {
  Surface& p = f.Picture2;
  f.view->show(PlotPart::poincare_plot, true);
  p.Cls();
  p.DrawMode = kDrawCopyPen;
  p.DrawWidth = 1;
  p.DrawStyle = kStyleDot;
  for (PlotPart part : {PlotPart::poincare_title, PlotPart::poincare_angle_scale,
                        PlotPart::poincare_velocity_scale, PlotPart::poincare_velocity_title})
    f.view->show(part, true);
  for (int i = 1; i <= 7; ++i) {
    const float w = p.Width(), h = p.Height();
    float x = csng(i * static_cast<double>(w) / 8.02 + 1);
    p.Line(x, 0, x, h - 1, kRed);
  }
  for (int i = -4; i <= 4; ++i) {
    const float w = p.Width();
    float y = csng(zero_velocity_y(p) + i * 636.6);
    p.Line(1, y, w - 1, y, kRed);
  }
  p.DrawStyle = kStyleSolid;
  const float w = p.Width(), h = p.Height();
  const float hm = static_cast<float>(zero_velocity_y(p));
  const float wm = static_cast<float>(clng(w) / 2);
  p.Line(0, hm, w, hm, kRed);
  p.Line(wm, 0, wm, h, kRed);
  const float w2 = csng(8.0 * w / 8.02 + 1);
  const float h2 = csng(8.0 * h / 8.02 + 1);
  p.Line(1, 1, 1, h, kRed);
  p.Line(1, h2, w2, h2, kRed);
  p.Line(w2, h2, w2, 1, kRed);
  p.Line(w2, 1, 1, 1, kRed);
  p.DrawWidth = 2;
}

void start_poincare_marker(PlotState& f) {
  f.Picture2.DrawMode = kDrawWhiteness;
  f.marker_x = 200;
  f.marker_y = 200;
}

void plot_poincare_point(PlotState& f) {
  Surface& p = f.Picture2;
  draw_cross(p, static_cast<float>(f.marker_x), static_cast<float>(f.marker_y));
  if (f.phase_counts > 2000) f.phase_counts = static_cast<i16>(f.phase_counts - 4000);
  const float w = p.Width();
  const float sw = p.ScaleWidth();
  const float a = static_cast<float>(f.phase_counts);
  const double x = static_cast<double>(clng(static_cast<double>(a) * w) / 4000) + sw / 2.0;
  f.plot_x = x;
  p.DrawMode = kDrawBlackness;
  p.PSet(static_cast<float>(x), static_cast<float>(f.poincare_y));
  p.DrawMode = kDrawNotXorPen;
  // The cross is drawn where it will be removed from, (marker_x, marker_y): at a y rounded
  // to whole twips, so that a y near a pixel boundary cannot leave the arms of an old cross
  // one row off.
  f.marker_x = f.plot_x;
  f.marker_y = clng_sat(f.poincare_y);
  draw_cross(p, static_cast<float>(x), static_cast<float>(f.marker_y));
  p.Refresh();
}

}  // namespace kv
