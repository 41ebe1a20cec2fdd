// The dark-red title mark drawn once on Picture4 at start-up.
#pragma once

namespace kv {
struct Form1;
void draw_title_frame(Form1& f);
}  // namespace kv
