#include "simulation/sim_continue.h"

#include <cmath>
#include <optional>
#include <string>

#include "app/state/form1.h"
#include "datafiles/point_count.h"
#include "datafiles/save_file.h"
#include "plot/phase_plot.h"
#include "plot/poincare_plot.h"
#include "simulation/model.h"
#include "simulation/sim_panel.h"
#include "simulation/sim_run.h"

namespace kv {

namespace {

std::optional<i32> ask_point_count(Form1& f) {
  return point_count(
      f.sys.dialogs.input_box("Enter number of data points", "number of points", "1000"));
}

// Opens the save file with its header; HALT turns red while the file is written.
bool start_saving(Form1& f, const std::string& path, const char* kind) {
  f.save_file_name = path;
  if (!open_save_file(f, path, f.number_of_points, kind)) return false;
  f.saving = kTrue;
  f.ui.set_back(Ctl::Text18, kRed);
  return true;
}

// A command that ends before its loop gives HALT its idle grey back: it is still disabled,
// and a green or red HALT would say that a run is going on.
void end_before_run(Form1& f) {
  f.ui.set_back(Ctl::Text18, kGrey);
}

}  // namespace

void simulation_continue(Form1& f, RunControl& run) {
  // Values that leave the model undefined are refused before anything changes; the panel
  // stays open for the correction.
  const PanelReading panel = read_panel(f);
  if (std::string problem = check_panel(f, panel); !problem.empty()) {
    f.sys.dialogs.message(problem, "Pendulum parameters", MsgIcon::Warning);
    return;
  }

  f.time_out = 0;
  f.FFT_flag = kFalse;
  f.ui.set_enabled(Ctl::Text7, true);
  f.ui.set_back(Ctl::Text18, kGreen);
  f.plot_flag = kTrue;
  f.number_of_points = 0;
  f.cnt = 0;
  f.poincare_cnt = 0;

  const bool orbit_file = f.ui[Ctl::Check3].checked;
  const bool poincare_file = f.ui[Ctl::Check4].checked;

  if (orbit_file) {
    f.ui.set_visible(Ctl::Picture2, false);
    std::optional<i32> n = ask_point_count(f);
    if (!n) {
      terminate_file(f);
      end_before_run(f);
      return;
    }
    f.number_of_points = *n;
    f.saving_orbit = kTrue;
    std::string path = f.sys.dialogs.save_file("(*.pha)|*.pha", "*.pha", f.program_dir, "");
    if (path.empty()) {
      terminate_file(f);
      clear_screen(f);
      end_before_run(f);
      return;
    }
    if (!start_saving(f, path, "PHASE")) return end_before_run(f);
  }

  f.ui.set_visible(Ctl::Image1, true);
  f.marker_x = 200;
  f.marker_y = 200;

  if (poincare_file) {
    for (Ctl c : {Ctl::Image1, Ctl::Picture1, Ctl::Frame5, Ctl::Frame8}) f.ui.set_visible(c, false);
    std::optional<i32> n = ask_point_count(f);
    if (!n) return end_before_run(f);
    // The single-precision clock of the run stops at a fixed pendulum time: say before the
    // run when the points asked for lie beyond it.
    const double h = 0.002 * panel.omega0;
    const long long reachable =
        reachable_poincare_points(h, panel.drive_frequency, panel.omega0, panel.time_out);
    if (*n > reachable) {
      const double seconds = frozen_clock_time(h) / panel.omega0;
      f.sys.dialogs.message(
          "At most " + std::to_string(reachable) +
              " Poincare points can be saved with these parameters: the simulation's clock "
              "stops advancing after " +
              std::to_string(std::llround(seconds)) + " s of pendulum time.",
          "Simulation", MsgIcon::Warning);
      return end_before_run(f);
    }
    f.number_of_points = *n;
    f.saving_orbit = kFalse;
    std::string path = f.sys.dialogs.save_file("(*.poi)|*.poi", "*.poi", f.program_dir, "");
    if (path.empty()) {
      clear_screen(f);
      end_before_run(f);
      return;
    }
    if (!start_saving(f, path, "POINCARE")) return end_before_run(f);
  }

  // A new Poincare plot: the grid, then the marker starts afresh at (200, 200).
  grid(f);
  start_poincare_marker(f);
  if (!poincare_file) {
    setup_phase_plot(f);
    f.ui.set_visible(Ctl::Picture1, true);
    f.ui.set_visible(Ctl::Frame5, true);
    f.ui.set_visible(Ctl::Frame8, f.cycle_number == 0);
    f.ui.set_visible(Ctl::Image1, true);
    f.ui.set_text(Ctl::Label3, "Phase plot");
    f.ui.set_visible(Ctl::Label3, true);
  }
  f.ui.set_visible(Ctl::HScroll1, false);
  f.ui.set_visible(Ctl::Text3, false);
  draw_phase_axes(f);
  f.ui.set_visible(Ctl::Picture2, true);
  f.ui.set_enabled(Ctl::Text18, true);
  f.ui.set_visible(Ctl::Frame21, false);
  f.sys.pump.repaint();

  apply_panel(f, panel);
  SimRun sim = start_sim_run(f, panel.drive_phase);
  const SimEnd how = run_sim_loop(f, sim, run);
  finish_sim_run(f, how, sim);
}

}  // namespace kv
