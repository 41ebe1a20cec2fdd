// The phase-plane plot on Picture1: preparing the surface at the chosen range (bands,
// axes, ticks) and placing one point, which is also stored in print units.
#pragma once

namespace kv {
struct PlotState;

void setup_phase_plot(PlotState& f);
void draw_phase_axes(PlotState& f);
void plot_phase_point(PlotState& f);
// Stores the current point's print value in column 1 of row cnt of orbit_points, as
// plot_phase_point does, without drawing it.
void store_phase_point(PlotState& f);

}  // namespace kv
