// kestavor-cli simulate: the simulation's "Continue" without a window, saving an orbit or
// Poincare file. The parameter options are the options of the panel's boxes
// (simulation/sim_panel.h); they fill the request's parameter set (an option not given
// keeps the box's start-up text), and the same engine as the window's runs it on the
// state groups a window starts with, with plots nobody sees, so the file is the one the window
// would write. Ctrl-C acts as HALT (the file is then not kept, as in the window).
#include <iostream>
#include <utility>

#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "datafiles/save_state.h"
#include "platform/clock.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
#include "simulation/sim_continue.h"
#include "simulation/sim_panel.h"
#include "simulation/sim_save_file.h"
#include "simulation/simulation_state.h"

namespace kv::cli {
namespace {

struct Arguments {
  // The text given for each parameter box, empty when not given; top to bottom.
  std::vector<std::pair<const PanelBox*, std::string>> texts;
  std::string out;
  SaveCount save;
  bool real_time = false, quiet = false;
} opt;

// The panel's parameter options, top to bottom, then the run's own.
void declare(Options& o) {
  for (const PanelBox* box : kPanelBoxes) opt.texts.emplace_back(box, std::string());
  for (auto& [box, text] : opt.texts) o.panel_box(*box, text);
  o.save_count(opt.save, 1000000, 1000000);
  o.flag("--real-time", opt.real_time, "run at the pendulum's own pace");
  o.output(opt.out, "FILE");
  o.flag("--quiet", opt.quiet, "show no progress line");
}

int run_simulate() {
  const std::string& out = opt.out;
  const bool real_time = opt.real_time, quiet = opt.quiet;
  const long long n = opt.save.points;

  // The engine's state groups, as a window starts them; nothing is shown.
  SignalRunControl run;
  SystemClock system_clock;
  ComputerClock computer_clock;
  Clock& clock = real_time ? static_cast<Clock&>(system_clock) : computer_clock;
  SimulationState sim;
  set_default_parameters(sim);
  PlotState plots;
  SaveState save_state;
  FileTable files;
  DataSaveFile file(save_state, files);
  DecoderState plotted_point;
  const SimContext context{sim, plots, save_state, file, clock, plotted_point};

  // The panel's start-up texts, then the ones given.
  SimRequest request;
  for (const PanelBox* box : kPanelBoxes) request.panel.*(box->text) = std::string(box->start_text);
  for (const auto& [box, text] : opt.texts)
    if (!text.empty()) request.panel.*(box->text) = text;
  request.options.real_time = real_time;
  request.options.computer_time = !real_time;
  request.options.phase_file = opt.save.orbit;
  request.options.poincare_file = !opt.save.orbit;
  request.points = static_cast<i32>(n);
  request.path = out;

  run.show_progress("points", quiet);
  const SimOutcome outcome = simulate(context, request, run);
  run.end_progress();
  if (outcome.halted()) {
    std::cerr << "kestavor-cli: interrupted: the simulation was stopped and nothing was saved\n";
  } else if (!outcome.done()) {
    if (!outcome.file_error.empty() && outcome.file_error != outcome.reason)
      std::cerr << "kestavor-cli: " << outcome.file_error << "\n";
    std::cerr << "kestavor-cli: " << outcome.reason << "\n";
  }
  return exit_status(outcome, run.signal());
}

Register reg{{"simulate",
              "runs the pendulum simulation (\"Continue\") and saves N orbit or Poincare points",
              declare, run_simulate}};

}  // namespace
}  // namespace kv::cli
