// The dark-red title mark drawn once on Picture4 at start-up.
#pragma once

namespace kv {
struct PlotState;
void draw_title_frame(PlotState& f);
}  // namespace kv
