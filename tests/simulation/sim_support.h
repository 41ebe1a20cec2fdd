// A started program with the parameter panel open, over scripted services, and helpers to
// run and inspect simulations.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/commands/commands.h"
#include "app/commands/simulation_window.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "plot/phase_plot.h"
#include "plot/poincare_plot.h"
#include "simulation/sim_panel.h"
#include "simulation/sim_run.h"
#include "tests/support/files.h"
#include "tests/support/scripted_services.h"

namespace kv::test {

// The loop with HALT and Clear polled as the window polls them (scripted pointer).
inline SimEnd run_sim_loop(Form1& f, SimRun& r) {
  WindowRunControl run(f);
  FormSimulation sim(f);
  return kv::run_sim_loop(sim.context, r, run);
}

// The end of a run as the window ends it (HALT greyed, what is to be told shown).
inline SimRunEnd finish_sim_run(Form1& f, SimEnd how, const SimRun& r) {
  FormSimulation sim(f);
  const SimRunEnd told =
      kv::finish_sim_run(sim.context, how, r, [&f](SimStage stage) { show_sim_stage(f, stage); });
  SimOutcome shown;
  shown.begun = shown.ran = true;
  shown.file_error = told.file_error;
  shown.problem = told.problem;
  show_sim_outcome(f, shown);
  return told;
}

struct SimForm {
  ScriptedServices s;
  Form1 f{s.services()};
  FormSimulation sim{f};  // the engine's view of f

  SimForm() {
    s.dialogs.yes_no_answers.push_back(false);  // no box: keep running
    Form_Load(f, nullptr);
    Text9_Click(f);
  }
  // A click on a check box: it toggles, then its handler runs.
  void click(Ctl box) {
    f.ui.set_checked(box, !f.ui[box].checked);
    switch (box) {
      case Ctl::Check1:
        Check1_Click(f);
        break;
      case Ctl::Check2:
        Check2_Click(f);
        break;
      case Ctl::Check3:
        Check3_Click(f);
        break;
      default:
        Check4_Click(f);
        break;
    }
  }
  void computer_time() {
    if (!f.ui[Ctl::Check2].checked) click(Ctl::Check2);
  }
  // HALT is held from the poll before step `steps` on, so exactly `steps` steps run.
  void halt_after(long steps) {
    s.pointer.pos = {300, 720};
    s.pointer.on_query = [steps](ScriptedPointer& p, long n) {
      if (n == 2 * (steps - 1)) p.press();
    };
  }
  // "Continue" with a save of `count` points to `path` (Check3 or Check4 chosen first).
  void save(Ctl kind, const std::string& count, const std::string& path) {
    if (!f.ui[kind].checked) click(kind);
    s.dialogs.input_answers.push_back(count);
    s.dialogs.save_answers.push_back(path);
    Command21_Click(f);
  }
  // What "Continue" does before its loop, for tests that drive the loop themselves.
  SimRun begin(double drive_phase = 0) {
    static_cast<SimParameters&>(f) = read_panel(f, panel_texts(f));
    f.drive_phase = drive_phase;
    grid(f);
    start_poincare_marker(f);
    setup_phase_plot(f);
    return start_sim_run(sim.context, sim_options(f));
  }
  int messages() const { return s.dialogs.count("message"); }
  const std::string& last_message() const { return s.dialogs.shown.back().text; }
};

// A fresh empty folder for one test's files.
inline std::filesystem::path temp_folder(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() / ("kestavor_sim_" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline int files_in(const std::filesystem::path& dir) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

}  // namespace kv::test
