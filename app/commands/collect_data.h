// The wrapper every acquisition run goes through ("Plot data", "Save orbit", "Save
// poincare"): the window's side of a run. HALT is enabled and coloured (red while saving,
// green otherwise) for the length of the engine's run, then disabled and grey again, and
// the command buttons ("Plot data", "Save orbit", "Save poincare") turn grey.
#pragma once

#include "acquisition/get_data.h"

namespace kv {
struct Form1;
class RunControl;

RunEnd COLLECT_DATA(Form1& f, RunControl& run);

}  // namespace kv
