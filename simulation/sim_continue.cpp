#include "simulation/sim_continue.h"

#include <cmath>
#include <string>

#include "app/state/form1.h"
#include "datafiles/save_file.h"
#include "plot/phase_plot.h"
#include "plot/poincare_plot.h"
#include "simulation/model.h"

namespace kv {

namespace {

// Opens the save file with its header; HALT turns red while the file is written.
bool start_saving(Form1& f, const std::string& path, const char* kind, std::string& error) {
  f.save_file_name = path;
  if (!open_save_file(f, path, f.number_of_points, kind, &error)) return false;
  f.saving = kTrue;
  f.ui.set_back(Ctl::Text18, kRed);
  return true;
}

SimOutcome failed(std::string reason) {
  SimOutcome out;
  out.reason = std::move(reason);
  return out;
}

}  // namespace

void begin_continue(Form1& f) {
  f.time_out = 0;
  f.FFT_flag = kFalse;
  f.ui.set_enabled(Ctl::Text7, true);
  f.ui.set_back(Ctl::Text18, kGreen);
  f.plot_flag = kTrue;
  f.number_of_points = 0;
  f.cnt = 0;
  f.poincare_cnt = 0;
}

void end_before_run(Form1& f) {
  f.ui.set_back(Ctl::Text18, kGrey);
}

SimOutcome simulate(Form1& f, const SimRequest& request, RunControl& run) {
  // Values that leave the model undefined are refused before anything changes; the panel
  // stays open for the correction.
  const PanelReading panel = read_panel(f, request.panel);
  if (std::string problem = check_panel(request.panel, panel); !problem.empty()) {
    f.sys.dialogs.message(problem, "Pendulum parameters", MsgIcon::Warning);
    return failed(problem);
  }

  begin_continue(f);
  const bool orbit_file = request.options.phase_file;
  const bool poincare_file = request.options.poincare_file;
  std::string error;

  if (orbit_file) {
    f.ui.set_visible(Ctl::Picture2, false);
    f.number_of_points = request.points;
    f.saving_orbit = kTrue;
    if (!start_saving(f, request.path, "PHASE", error)) {
      end_before_run(f);
      return failed(error);
    }
  }

  f.ui.set_visible(Ctl::Image1, true);
  f.marker_x = 200;
  f.marker_y = 200;

  if (poincare_file) {
    for (Ctl c : {Ctl::Image1, Ctl::Picture1, Ctl::Frame5, Ctl::Frame8}) f.ui.set_visible(c, false);
    // The single-precision clock of the run stops at a fixed pendulum time: say before the
    // run when the points asked for lie beyond it.
    const double h = 0.002 * panel.omega0;
    const long long reachable =
        reachable_poincare_points(h, panel.drive_frequency, panel.omega0, panel.time_out);
    if (request.points > reachable) {
      const double seconds = frozen_clock_time(h) / panel.omega0;
      const std::string text =
          "At most " + std::to_string(reachable) +
          " Poincare points can be saved with these parameters: the simulation's clock stops "
          "advancing after " +
          std::to_string(std::llround(seconds)) + " s of pendulum time.";
      f.sys.dialogs.message(text, "Simulation", MsgIcon::Warning);
      end_before_run(f);
      return failed(text);
    }
    f.number_of_points = request.points;
    f.saving_orbit = kFalse;
    if (!start_saving(f, request.path, "POINCARE", error)) {
      end_before_run(f);
      return failed(error);
    }
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
  SimRun sim = start_sim_run(f, panel.drive_phase, request.options);
  SimOutcome out;
  out.ran = true;
  out.end = run_sim_loop(f, sim, run);
  out.lines = sim.saved_lines;
  out.reason = finish_sim_run(f, out.end, sim);
  if (out.end == SimEnd::Halted)
    out.status = CommandStatus::halted;
  else
    out.status = out.reason.empty() ? CommandStatus::done : CommandStatus::failed;
  return out;
}

}  // namespace kv
