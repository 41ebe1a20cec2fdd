// kestavor-cli simulate: the simulation's "Continue" without a window, saving an orbit or
// Poincare file. The options fill the request's parameter set (an option not given keeps
// the panel's start-up text), and the same engine as the window's runs it on offscreen
// plots, so the file is the one the window would write. Ctrl-C acts as HALT (the file is
// then not kept, as in the window).
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <utility>

#include "app/commands/simulation_window.h"
#include "app/commands/startup.h"
#include "app/state/form1.h"
#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "platform/scripted_services.h"

namespace kv::cli {
namespace {

constexpr const char* kUsage =
    "[--mgr TEXT] [--inertia TEXT] [--damping TEXT] [--drive-amplitude TEXT] "
    "[--drive-frequency TEXT] [--drive-phase TEXT] [--initial-angle TEXT] "
    "[--initial-velocity TEXT] [--time-out TEXT] (--orbit N | --poincare N) [--real-time] "
    "-o FILE [--quiet]";

// The panel box behind each option.
const std::pair<const char*, std::string PanelTexts::*> kBoxes[] = {
    {"--mgr", &PanelTexts::mgr},
    {"--inertia", &PanelTexts::inertia},
    {"--damping", &PanelTexts::damping},
    {"--drive-amplitude", &PanelTexts::drive_amplitude},
    {"--drive-frequency", &PanelTexts::drive_frequency},
    {"--drive-phase", &PanelTexts::drive_phase},
    {"--initial-angle", &PanelTexts::initial_angle},
    {"--initial-velocity", &PanelTexts::initial_velocity},
    {"--time-out", &PanelTexts::time_out},
};

int run_simulate(const std::vector<std::string>& args) {
  std::vector<std::pair<std::string PanelTexts::*, std::string>> texts;
  std::string out;
  SaveCount save;
  bool real_time = false, quiet = false;
  for (ArgReader in(args); in.next();) {
    const std::string& a = in.arg();
    bool is_box = false;
    for (const auto& [name, box] : kBoxes) {
      if (a == name) {
        texts.emplace_back(box, in.value());
        is_box = true;
        break;
      }
    }
    if (is_box || take_save_count(in, save)) continue;
    if (a == "--real-time") {
      real_time = true;
    } else if (a == "--quiet") {
      quiet = true;
    } else if (a == "-o") {
      out = in.value();
    } else {
      throw std::invalid_argument("simulate: unexpected argument " + a);
    }
  }
  if (save.option.empty() || out.empty())
    throw std::invalid_argument(std::string("usage: kestavor-cli simulate ") + kUsage);
  const long long n = parse_count(save.option, save.count);
  if (n < 0 || n > 1000000)
    throw std::invalid_argument(save.option + " needs a number of points from 0 to 1000000");

  ScriptedServices scripted;
  SignalRunControl run;
  Clock& clock = real_time ? static_cast<Clock&>(scripted.system_clock) : scripted.manual_clock;
  Form1 f(Services{scripted.dialogs, scripted.pointer, clock, scripted.help, scripted.pump,
                   scripted.timer1});
  // Start-up without an interface box, as after the answer No to its question.
  load_headless(f, nullptr);

  SimRequest request;
  request.panel = panel_texts(f);
  for (const auto& [box, text] : texts) request.panel.*box = text;
  request.options.real_time = real_time;
  request.options.computer_time = !real_time;
  request.options.phase_file = save.orbit();
  request.options.poincare_file = !save.orbit();
  request.points = static_cast<i32>(n);
  request.path = out;

  run.show_progress("points", quiet);
  FormSimulation sim(f);
  const SimOutcome outcome = simulate(sim.context, request, run);
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

Register reg{{"simulate", kUsage,
              "runs the pendulum simulation (\"Continue\") and saves N orbit or Poincare points",
              run_simulate}};

}  // namespace
}  // namespace kv::cli
