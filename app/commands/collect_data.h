// The wrapper every acquisition run goes through ("Plot data", "Save orbit", "Save
// poincare"): the window's side of a run. HALT is enabled and coloured (red while saving,
// green otherwise) for the length of the engine's run; when the run ends because of the
// box (gone, silent, out of replayed records) the status text says so; then HALT is
// disabled and grey again, and the command buttons ("Plot data", "Save orbit", "Save
// poincare") turn grey.
#pragma once

#include <cstdint>
#include <string>

#include "acquisition/get_data.h"

namespace kv {
struct Form1;
class InterfaceBox;
class RunControl;

// The acquisition engine's groups of the window's state.
AcquisitionContext acquisition_context(Form1& f);

// The status text of a run that ended because of the box (`box` the box that was open,
// or none), with its colour; empty for the other endings.
std::string run_end_status(RunEnd end, const InterfaceBox* box, std::uint32_t& color);

// The window's side of a run: before it, HALT enabled in red (saving) or green and an old
// status text hidden; after it, the status text of an ending caused by the box, the
// command buttons grey and HALT grey and disabled. Both repaint.
void begin_acquisition_run(Form1& f);
void end_acquisition_run(Form1& f, RunEnd end);

RunEnd COLLECT_DATA(Form1& f, RunControl& run);

}  // namespace kv
