#include "app/commands/simulation_window.h"

#include <utility>

#include "app/commands/window_run_control.h"
#include "app/state/control_table.h"
#include "app/state/form1.h"

namespace kv {

PanelTexts panel_texts(const Form1& f) {
  PanelTexts t;
  for (const ControlRow& r : kControlTable)
    if (r.box) t.*(r.box->text) = f.ui[r.ctl].text;
  return t;
}

SimOptions sim_options(const Form1& f) {
  SimOptions o;
  o.real_time = f.ui[Ctl::Check1].checked;
  o.computer_time = f.ui[Ctl::Check2].checked;
  o.phase_file = f.ui[Ctl::Check3].checked;
  o.poincare_file = f.ui[Ctl::Check4].checked;
  return o;
}

FormSimulation::FormSimulation(Form1& f)
    : file(f, f.files), context{f, f, f, file, f.sys.clock, f} {}

void show_sim_stage(Form1& f, SimStage stage) {
  switch (stage) {
    case SimStage::begun:
      f.FFT_flag = kFalse;
      f.ui.set_enabled(Ctl::Text7, true);
      f.ui.set_back(Ctl::Text18, kGreen);
      break;
    case SimStage::saving:
      f.ui.set_back(Ctl::Text18, kRed);
      break;
    case SimStage::running:
      f.ui.set_enabled(Ctl::Text18, true);
      break;
    case SimStage::ended:
      f.ui.set_enabled(Ctl::Text18, false);
      f.ui.set_back(Ctl::Text18, kGrey);
      break;
  }
}

void begin_continue(Form1& f) {
  reset_for_continue(f, f);
  show_sim_stage(f, SimStage::begun);
}

void end_before_run(Form1& f) {
  f.ui.set_back(Ctl::Text18, kGrey);
}

void show_sim_outcome(Form1& f, const SimOutcome& out) {
  if (!out.file_error.empty()) show_file_error(f, out.file_error);
  if (!out.problem.empty())
    f.sys.dialogs.message(out.problem, out.begun ? "Simulation" : "Pendulum parameters",
                          MsgIcon::Warning);
  if (out.begun && !out.ran) end_before_run(f);
}

// A saving run's end in the status text: the lines saved, or why the file is not whole.
void show_sim_end_status(Form1& f, const SimRequest& request, const SimOutcome& out) {
  if (request.path.empty() || !out.begun) return;
  const std::string name = file_name(request.path);
  if (out.status == Status::done && out.problem.empty())
    show_end_status(f, true, "Saved " + name + ": " + counted(out.lines, "line"));
  else if (out.status == Status::halted)
    show_end_status(f, false, "Simulation stopped: " + name + " was not kept.");
  else
    show_end_status(f, false,
                    !out.file_error.empty() ? out.file_error
                    : !out.problem.empty()  ? out.problem
                                            : out.reason);
}

SimOutcome simulate_in_window(Form1& f, SimRequest request, RunControl& run) {
  request.on_stage = [&f](SimStage stage) { show_sim_stage(f, stage); };
  FormSimulation sim(f);
  SimOutcome out = simulate(sim.context, request, run);
  show_sim_outcome(f, out);
  show_sim_end_status(f, request, out);
  return out;
}

}  // namespace kv
