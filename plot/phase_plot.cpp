#include "plot/phase_plot.h"

#include <cmath>

#include "platform/colors.h"
#include "plot/plot_state.h"

namespace kv {

void setup_phase_plot(PlotState& f) {
  PlotView& view = *f.view;
  view.show(PlotPart::phase_plot, true);
  view.show(PlotPart::phase_velocity_scale, true);
  view.show(PlotPart::phase_angle_scale, f.cycle_number == 0);
  view.show(PlotPart::phase_velocity_title, true);
  view.show(PlotPart::phase_title, true);
  Surface& p = f.Picture1;
  p.Cls();
  p.DrawMode = kDrawCopyPen;

  int value = view.range_value();
  i16 r = cint(std::pow(2.0, value));
  if (r == 1) r = 0;
  f.cycle_number = r;

  // Background bands: R + 1 bands of vertical lines closer than a pixel.
  const float w = p.Width();
  const float h = p.Height();
  const i32 b = r == 0 ? 512 : 512 / r;
  const i32 l = b / 16 - 1;
  const float s = r == 0 ? 0.0f : csng(static_cast<double>(r) / (r + 1));
  const float step = csng(w * s / 512.0f);
  for (i32 k = 0; k <= r; ++k) {
    std::uint32_t color;
    if (r == 2) {
      color = k % 2 == 0 ? kGrey : kWhite;
    } else {
      color = k % 2 == 0 ? kWhite : kGrey;
    }
    for (i32 j = 0; j <= 15; ++j) {
      for (i32 m = 0; m <= l; ++m) {
        i32 col = (16 * k + j) * (l + 1) + m;
        float x = csng(col * static_cast<double>(step));
        p.Line(x, 0, x, h, color);
      }
    }
  }
  p.DrawWidth = 1;
  draw_phase_axes(f);
  view.show(PlotPart::phase_title, true);
}

void draw_phase_axes(PlotState& f) {
  Surface& p = f.Picture1;
  p.DrawMode = kDrawCopyPen;
  const float w = p.Width();
  const float h = p.Height();
  const i32 hm = static_cast<i32>(zero_velocity_y(p));
  const i32 wm = clng(w) / 2;
  p.Line(100, static_cast<float>(hm), w, static_cast<float>(hm), kRed);
  p.Line(static_cast<float>(wm), 0, static_cast<float>(wm), h, kRed);
  for (int i = -4; i <= 4; ++i) {
    float y = csng(h / 2.0 + i * 636.6);
    p.Line(0, y, 100, y);
  }
}

namespace {
// The horizontal position of the current point on Picture1, storing its print value in
// column 1 of row cnt of orbit_points.
double place_phase_point(PlotState& f) {
  const float w = f.Picture1.Width();
  const i32 a = f.phase_counts;
  const i32 r = f.cycle_number;
  if (r == 0) {
    f.orbit_points.at(f.cnt, 1) = cint(a * 1.5);
    const i32 folded = a > 1999 ? a - 4000 : a;
    return static_cast<double>(clng(static_cast<double>(w) * (folded + 2000)) / 4000);
  }
  // The unwrapped angle of a steadily rotating pendulum leaves 32 bits within minutes,
  // so it is formed in 64 bits; the arithmetic is otherwise that of the 32-bit design.
  const i64 t = static_cast<i64>(f.revolution_slots[3]) * 4000 + a;
  const double xw = static_cast<double>(w) * static_cast<double>(t / (r + 1) + 2000);
  const double v = static_cast<double>(static_cast<i64>(round_half_even(t * 1.5)) / (r + 1));
  if (v >= -32768 && v <= 32767) f.orbit_points.at(f.cnt, 1) = static_cast<i32>(v);
  return static_cast<double>(static_cast<i64>(round_half_even(xw)) / 4000);
}
}  // namespace

void plot_phase_point(PlotState& f) {
  Surface& p = f.Picture1;
  p.DrawMode = kDrawBlackness;
  const double x = place_phase_point(f);
  f.plot_x = x;
  // A point whose x lies off the surface is not drawn.
  if (x >= 0 && x <= p.Width()) p.PSet(static_cast<float>(x), static_cast<float>(f.phase_y));
}

void store_phase_point(PlotState& f) {
  place_phase_point(f);
}

}  // namespace kv
