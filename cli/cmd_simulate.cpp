// kestavor-cli simulate: the simulation's "Continue" without a window, saving an orbit or
// Poincare file. The panel boxes hold the given texts (the others keep their start-up
// texts), the point count and the path answer the dialogs, and the window's own command
// runs on offscreen plots, so the file is the one the window would write. Ctrl-C acts as
// HALT (the file is then not kept, as in the window).
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <utility>

#include "app/commands/commands.h"
#include "app/state/form1.h"
#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "platform/scripted_services.h"
#include "simulation/sim_continue.h"

namespace kv::cli {
namespace {

constexpr const char* kUsage =
    "[--mgr TEXT] [--inertia TEXT] [--damping TEXT] [--drive-amplitude TEXT] "
    "[--drive-frequency TEXT] [--drive-phase TEXT] [--initial-angle TEXT] "
    "[--initial-velocity TEXT] [--time-out TEXT] (--orbit N | --poincare N) [--real-time] "
    "-o FILE";

// The panel box behind each option.
const std::pair<const char*, Ctl> kBoxes[] = {
    {"--mgr", Ctl::Text27},
    {"--inertia", Ctl::Text26},
    {"--damping", Ctl::Text21},
    {"--drive-amplitude", Ctl::Text22},
    {"--drive-frequency", Ctl::Text23},
    {"--drive-phase", Ctl::Text19},
    {"--initial-angle", Ctl::Text24},
    {"--initial-velocity", Ctl::Text25},
    {"--time-out", Ctl::Text69},
};

int run_simulate(const std::vector<std::string>& args) {
  std::vector<std::pair<Ctl, std::string>> texts;
  std::string out;
  SaveCount save;
  bool real_time = false;
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
  // Start-up without an interface box; the question whether to exit is answered No.
  scripted.dialogs.yes_no_answers.push_back(false);
  if (!Form_Load(f, nullptr)) return fail("start-up did not complete");
  const std::size_t shown_before = scripted.dialogs.shown.size();

  Text9_Click(f);
  for (const auto& [box, text] : texts) f.ui.set_text(box, text);
  if (real_time != f.ui[Ctl::Check1].checked) {
    f.ui.set_checked(Ctl::Check1, real_time);
    Check1_Click(f);
  }
  const Ctl save_box = save.orbit() ? Ctl::Check3 : Ctl::Check4;
  f.ui.set_checked(save_box, true);
  save_box == Ctl::Check3 ? Check3_Click(f) : Check4_Click(f);
  scripted.dialogs.input_answers.push_back(save.count);
  scripted.dialogs.save_answers.push_back(out);

  simulation_continue(f, run);

  // Whatever the command told the user is an error here.
  int status = 0;
  for (std::size_t i = shown_before; i < scripted.dialogs.shown.size(); ++i) {
    const auto& s = scripted.dialogs.shown[i];
    if (s.kind != "message") continue;
    std::cerr << "kestavor-cli: " << s.text << "\n";
    status = 1;
  }
  if (status != 0) return status;
  if (!scripted.dialogs.save_answers.empty())
    return fail("the simulation did not start; nothing was saved");
  if (run.signal() != 0) {
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
