// The simulation command behind "Continue": a request (the parameter set as typed into the
// panel, the run's options, the number of points and the path of the save file) given to
// `simulate`, which checks the parameters, opens the save file with its header, prepares
// both plots and runs the simulation to its end. The window's handler (app/commands) reads
// the panel, asks the point count and the path through the dialogs and fills the request;
// kestavor-cli fills it from its arguments.
#pragma once

#include <string>

#include "platform/outcome.h"
#include "platform/vb_numeric.h"
#include "simulation/sim_panel.h"
#include "simulation/sim_run.h"

namespace kv {
class RunControl;

struct SimRequest {
  PanelTexts panel;    // the parameter set; an empty text keeps the stored value
  SimOptions options;  // speed and the kind of save file (at most one)
  i32 points = 0;      // lines to save when a save file is asked for
  std::string path;    // the *.pha or *.poi file
  // Called at each stage of the command (the window sets HALT's colours there); may be
  // empty.
  SimStageHook on_stage;
};

// done, halted; refused (parameters that leave the model undefined, more Poincare points
// than the run's clock can reach), failed (the save file, a run ended early by the model).
// The window shows `file_error` ("File error") and then `problem` as message boxes; the
// reason is the last of them.
struct SimOutcome : Outcome {
  bool begun = false;  // the parameters were accepted and a run set up
  bool ran = false;    // the loop ran
  SimEnd end = SimEnd::Halted;
  long long lines = 0;     // data lines saved
  std::string file_error;  // the save file could not be opened or kept: which and why
  std::string problem;     // refused parameters or points, or why the run ended early
};

// What "Continue" resets once the parameters are accepted, before any question: the
// transient, the plot flag (a run is going on) and the point counts.
void reset_for_continue(SimulationState& sim, PlotState& plot);

// Runs the simulation the request asks for. Values that leave the model undefined are
// refused before anything changes.
SimOutcome simulate(const SimContext& c, const SimRequest& request, RunControl& run);

}  // namespace kv
