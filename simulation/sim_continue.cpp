#include "simulation/sim_continue.h"

#include <cmath>
#include <string>
#include <utility>

#include "datafiles/save_state.h"
#include "plot/phase_plot.h"
#include "plot/plot_state.h"
#include "plot/poincare_plot.h"
#include "simulation/model.h"

namespace kv {

namespace {

// Opens the save file with its header.
bool start_saving(const SimContext& c, const std::string& path, const char* kind,
                  std::string& error) {
  c.save.save_file_name = path;
  if (!c.file.open(path, c.plot.number_of_points, kind, error)) return false;
  c.save.saving = kTrue;
  return true;
}

// A command that ended before its loop.
SimOutcome not_run(Status status, bool begun, std::string file_error, std::string problem) {
  SimOutcome out;
  out.status = status;
  out.begun = begun;
  out.reason = problem.empty() ? file_error : problem;
  out.file_error = std::move(file_error);
  out.problem = std::move(problem);
  return out;
}

}  // namespace

void reset_for_continue(SimulationState& sim, PlotState& plot) {
  sim.time_out = 0;
  plot.plot_flag = kTrue;
  plot.number_of_points = 0;
  plot.cnt = 0;
  plot.poincare_cnt = 0;
}

SimOutcome simulate(const SimContext& c, const SimRequest& request, RunControl& run) {
  const auto stage = [&request](SimStage s) {
    if (request.on_stage) request.on_stage(s);
  };
  // Values that leave the model undefined are refused before anything changes; the panel
  // stays open for the correction.
  const SimParameters panel = read_panel(c.sim, request.panel);
  if (std::string problem = check_panel(request.panel, panel); !problem.empty())
    return not_run(Status::refused, false, {}, std::move(problem));

  PlotState& plot = c.plot;
  PlotView& view = *plot.view;
  reset_for_continue(c.sim, plot);
  stage(SimStage::begun);
  const bool orbit_file = request.options.phase_file;
  const bool poincare_file = request.options.poincare_file;
  std::string error;

  if (orbit_file) {
    view.show(PlotPart::poincare_plot, false);
    plot.number_of_points = request.points;
    c.save.saving_orbit = kTrue;
    if (!start_saving(c, request.path, "PHASE", error))
      return not_run(Status::failed, true, std::move(error), {});
    stage(SimStage::saving);
  }

  view.show(PlotPart::phase_velocity_title, true);
  plot.marker_x = 200;
  plot.marker_y = 200;

  if (poincare_file) {
    for (PlotPart part : {PlotPart::phase_velocity_title, PlotPart::phase_plot,
                          PlotPart::phase_velocity_scale, PlotPart::phase_angle_scale})
      view.show(part, false);
    // The single-precision clock of the run stops at a fixed pendulum time: say before the
    // run when the points asked for lie beyond it.
    const double h = 0.002 * panel.omega0;
    const long long reachable =
        reachable_poincare_points(h, panel.drive_frequency, panel.omega0, panel.time_out);
    if (request.points > reachable) {
      const double seconds = frozen_clock_time(h) / panel.omega0;
      std::string text =
          "At most " + std::to_string(reachable) +
          " Poincare points can be saved with these parameters: the simulation's clock stops "
          "advancing after " +
          std::to_string(std::llround(seconds)) + " s of pendulum time.";
      return not_run(Status::refused, true, {}, std::move(text));
    }
    plot.number_of_points = request.points;
    c.save.saving_orbit = kFalse;
    if (!start_saving(c, request.path, "POINCARE", error))
      return not_run(Status::failed, true, std::move(error), {});
    stage(SimStage::saving);
  }

  // A new Poincare plot: the grid, then the marker starts afresh at (200, 200).
  grid(plot);
  start_poincare_marker(plot);
  if (!poincare_file) {
    setup_phase_plot(plot);
    view.show(PlotPart::phase_plot, true);
    view.show(PlotPart::phase_velocity_scale, true);
    view.show(PlotPart::phase_angle_scale, plot.cycle_number == 0);
    view.show(PlotPart::phase_velocity_title, true);
    view.set_title(PlotPart::phase_title, "Phase plot");
    view.show(PlotPart::phase_title, true);
  }
  view.show(PlotPart::range_scroll, false);
  view.show(PlotPart::range_text, false);
  draw_phase_axes(plot);
  view.show(PlotPart::poincare_plot, true);
  stage(SimStage::running);
  view.show(PlotPart::parameter_panel, false);
  view.show_drawn();

  static_cast<SimParameters&>(c.sim) = panel;
  SimRun sim = start_sim_run(c, request.options);
  SimOutcome out;
  out.begun = true;
  out.ran = true;
  out.end = run_sim_loop(c, sim, run);
  out.lines = sim.saved_lines;
  SimRunEnd told = finish_sim_run(c, out.end, sim, request.on_stage);
  out.reason = told.problem.empty() ? told.file_error : told.problem;
  out.file_error = std::move(told.file_error);
  out.problem = std::move(told.problem);
  if (out.end == SimEnd::Halted)
    out.status = Status::halted;
  else
    out.status = out.reason.empty() ? Status::done : Status::failed;
  return out;
}

}  // namespace kv
