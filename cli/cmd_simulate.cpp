// kestavor-cli simulate: the simulation's "Continue" without a window, saving an orbit or
// Poincare file. The parameter options are the panel rows' options of the control table
// (app/state/control_table.h); they fill the request's parameter set (an option not given
// keeps the panel's start-up text), and the same engine as the window's runs it on the
// state groups a window starts with, with plots nobody sees, so the file is the one the window
// would write. Ctrl-C acts as HALT (the file is then not kept, as in the window).
#include <filesystem>
#include <iostream>
#include <utility>

#include "app/commands/startup.h"
#include "app/state/control_table.h"
#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "datafiles/save_state.h"
#include "platform/scripted_services.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
#include "simulation/sim_continue.h"
#include "simulation/sim_save_file.h"
#include "simulation/simulation_state.h"

namespace kv::cli {
namespace {

// The usage line: the panel's parameter options, as the control table lists them, then
// the run's own options.
std::string usage() {
  std::string u;
  for (const ControlRow& r : kControlTable)
    if (is_parameter_row(r)) u.append("[").append(r.option).append(" TEXT] ");
  return u + "(--orbit N | --poincare N) [--real-time] -o FILE [--quiet]";
}

// The box of a parameter option; null when `arg` is none.
const ControlRow* parameter_row(const std::string& arg) {
  for (const ControlRow& r : kControlTable)
    if (is_parameter_row(r) && r.option == arg) return &r;
  return nullptr;
}

int run_simulate(const std::vector<std::string>& args) {
  std::vector<std::pair<const PanelBox*, std::string>> texts;
  std::string out;
  SaveCount save;
  bool real_time = false, quiet = false;
  ArgReader in(args);
  while (in.next()) {
    const std::string& a = in.arg();
    if (const ControlRow* row = parameter_row(a)) {
      texts.emplace_back(row->box, in.value());
    } else if (take_save_count(in, save)) {
      continue;
    } else if (a == "--real-time") {
      real_time = true;
    } else if (a == "--quiet") {
      quiet = true;
    } else if (a == "-o") {
      out = in.value();
    } else {
      return fail("simulate: unexpected argument " + a);
    }
  }
  if (in.failed()) return fail(in.error());
  if (save.option.empty() || out.empty()) return fail("usage: kestavor-cli simulate " + usage());
  const Count points = parse_count(save.option, save.count);
  if (!points.error.empty()) return fail(points.error);
  const long long n = points.value;
  if (n < 0 || n > 1000000)
    return fail(save.option + " needs a number of points from 0 to 1000000");

  // The engine's state groups, as a window starts them; nothing is shown.
  ScriptedServices scripted;
  SignalRunControl run;
  Clock& clock = real_time ? static_cast<Clock&>(scripted.system_clock) : scripted.manual_clock;
  const Services sys{scripted.dialogs, scripted.pointer, clock,
                     scripted.help,    scripted.pump,    scripted.timer1};
  SimulationState sim;
  set_default_parameters(sim);
  PlotState plots;
  SaveState save_state;
  FileTable files;
  DataSaveFile file(save_state, files, scripted.dialogs);
  double rollover = 0;
  vb_bool poincare_event = kFalse;
  const SimContext context{sim, plots, save_state, file, sys, rollover, poincare_event};

  // The panel's start-up texts, then the ones given.
  SimRequest request;
  for (const ControlRow& r : kControlTable)
    if (r.box) request.panel.*(r.box->text) = std::string(r.text);
  for (const auto& [box, text] : texts) request.panel.*(box->text) = text;
  request.options.real_time = real_time;
  request.options.computer_time = !real_time;
  request.options.phase_file = save.orbit();
  request.options.poincare_file = !save.orbit();
  request.points = static_cast<i32>(n);
  request.path = out;

  run.show_progress("points", quiet);
  const SimOutcome outcome = simulate(context, request, run);
  run.end_progress();
  if (outcome.status == CommandStatus::failed) {
    std::cerr << "kestavor-cli: " << outcome.reason << "\n";
    return 1;
  }
  if (outcome.status == CommandStatus::halted) {
    std::cerr << "kestavor-cli: interrupted: the simulation was stopped and nothing was saved\n";
    return run.exit_status();
  }
  if (!std::filesystem::exists(out)) return fail(out + " was not written");
  return 0;
}

Register reg{{"simulate", usage(),
              "runs the pendulum simulation (\"Continue\") and saves N orbit or Poincare points",
              run_simulate}};

}  // namespace
}  // namespace kv::cli
