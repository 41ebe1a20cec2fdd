// The Poincare plot on Picture2: the red grid and one point per drive cycle, with a red
// marker cross that moves from point to point without damaging what lies under it.
#pragma once

namespace kv {
struct PlotState;

void grid(PlotState& f);
void plot_poincare_point(PlotState& f);
// Starts a new Poincare plot's marker: DrawMode 16 and the marker at (200, 200), so the
// first removal paints a white cross there and no stale marker is left.
void start_poincare_marker(PlotState& f);

}  // namespace kv
