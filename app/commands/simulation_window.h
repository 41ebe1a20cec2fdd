// The window's side of the simulation engine: the panel's boxes and check boxes read into
// a request, the window's data file as the run's save file, HALT's colours and state and
// Clear at each stage of a run, and `simulate` run over the window's Form1.
#pragma once

#include "datafiles/save_file.h"
#include "simulation/sim_continue.h"
#include "simulation/sim_save_file.h"

namespace kv {
struct Form1;
class RunControl;

// The texts the parameter panel's boxes hold now.
PanelTexts panel_texts(const Form1& f);
// The panel's check boxes as a run reads them.
SimOptions sim_options(const Form1& f);

// A simulation's context over the window's Form1.
struct FormSimulation {
  explicit FormSimulation(Form1& f);
  FormSimulation(const FormSimulation&) = delete;
  FormSimulation& operator=(const FormSimulation&) = delete;
  DataSaveFile file;  // the window's data file (its save_file_number)
  SimContext context;
};

// What the window shows at a stage of the run: "Clear" enabled and HALT green once a run
// is set up, red while a file is written, enabled for the loop, grey and disabled after
// it. The screen shows no spectrum from the start of a run on.
void show_sim_stage(Form1& f, SimStage stage);

// What "Continue" sets once the parameters are accepted, before any question: the run's
// flags and counters, and HALT enabled in green.
void begin_continue(Form1& f);
// A command that ends before its loop gives HALT its idle grey back (it is still
// disabled, and a green or red HALT would say that a run is going on).
void end_before_run(Form1& f);

// What the window tells of an outcome, as message boxes in this order: the save file's
// failure ("File error"), then refused parameters ("Pendulum parameters") or the run's
// problem ("Simulation"); then HALT grey when a run was set up but its loop never ran.
void show_sim_outcome(Form1& f, const SimOutcome& out);

// The engine run over the window's Form1, with show_sim_stage as the stage hook and
// show_sim_outcome after it.
SimOutcome simulate_in_window(Form1& f, SimRequest request, RunControl& run);

}  // namespace kv
