// "Continue" on the parameter panel: reads the panel, optionally opens an orbit or Poincare
// save file, prepares both plots and runs the simulation.
#pragma once

namespace kv {
struct Form1;
class RunControl;

void simulation_continue(Form1& f, RunControl& run);

}  // namespace kv
