#include "simulation/sim_run.h"

#include <cmath>
#include <string>
#include <utility>

#include "datafiles/data_lines.h"
#include "datafiles/pendulum_units.h"
#include "datafiles/save_state.h"
#include "platform/run_control.h"
#include "plot/phase_plot.h"
#include "plot/plot_state.h"
#include "plot/poincare_plot.h"

namespace kv {

namespace {

// While the run waits for the wall clock it sleeps in slices of this many milliseconds,
// and polls HALT after this many slices.
constexpr int kSleepSliceMs = 1;
constexpr int kSlicesPerHaltPoll = 16;

inline i32 next_row(i32 row) {
  return row <= 999999 ? row + 1 : 999999;
}

// The print tables' sink. plot_phase_point wrote column 1 of the row cnt held before this
// advance; both columns of the new row are written here. A Poincare sample is stored
// whether or not it also went to the file.
inline void store_for_print(PlotState& plot, const SimSample& s) {
  plot.cnt = next_row(plot.cnt);
  if (plot.phase_counts < -20000 || plot.phase_counts > 20000) plot.phase_counts = 0;
  const double x_print = plot.phase_counts * 1.5;
  plot.orbit_points.at(plot.cnt, 1) =
      plot.cycle_number == 0 ? cint(x_print) : clng(x_print) / (plot.cycle_number + 1);
  const double v = s.velocity_value;
  const bool velocity_in_range = -2000 < v && v < 2000;
  i32 y_print = velocity_in_range ? cint(v * 10) : 0;
  if (y_print >= 20000 || y_print <= -20000) y_print = 0;
  plot.orbit_points.at(plot.cnt, 2) = y_print;
  if (velocity_in_range && s.poincare_event) {
    plot.poincare_cnt = next_row(plot.poincare_cnt);
    plot.poincare_points.at(plot.poincare_cnt, 1) = cint(x_print);
    plot.poincare_points.at(plot.poincare_cnt, 2) = cint(v * 10);
  }
}

}  // namespace

SimRun start_sim_run(const SimContext& c, const SimOptions& options) {
  const SimulationState& p = c.sim;
  SimRun r;
  r.model.q_factor = p.q_factor;
  r.model.drive_amplitude = p.drive_amplitude;
  r.model.drive_frequency = p.drive_frequency;
  r.model.sim_time = 0;
  r.h = 0.002 * p.omega0;
  r.angle = p.initial_angle;
  r.velocity = p.initial_velocity;
  r.drive_phase = p.drive_phase;
  r.time_out_ms = p.time_out * 1000;
  r.drive_sine_prev = p.drive_sine_prev;
  r.rollover = 0;
  c.plotted_point.rollover = 0;
  r.start_tick = c.clock.tick_ms();
  r.elapsed_ms = 0;
  r.saved_lines = 0;
  r.refresh = RefreshPacer{};
  r.options = options;
  return r;
}

SimEnd run_sim_loop(const SimContext& c, SimRun& r, RunControl& run) {
  PlotState& plot = c.plot;
  SaveState& save = c.save;
  Surface& picture1 = plot.Picture1;
  // The surfaces keep their size for the whole run.
  const double phase_centre_y = zero_velocity_y(picture1);
  const double poincare_centre_y = zero_velocity_y(plot.Picture2);
  const double omega0 = c.sim.omega0;
  const bool computer_time = r.options.computer_time;
  const bool phase_file = r.options.phase_file;
  const bool poincare_file = r.options.poincare_file;
  char line[160];

  for (;;) {
    if (run.halt_requested()) return SimEnd::Halted;
    if (save.saving ? r.saved_lines >= plot.number_of_points
                    : r.saved_lines < plot.number_of_points)
      return SimEnd::Completed;

    // Pacing. In computer time the clock of the run is the simulated time; in real time
    // the run waits until the wall clock has caught up with the simulated time, and the
    // clock of the run is the last wall-clock reading.
    const double sim_ms = r.model.sim_time / omega0 * 1000;
    if (computer_time) r.elapsed_ms = static_cast<i64>(round_half_even(sim_ms));
    int slices = 0;
    while (r.options.real_time && r.elapsed_ms < sim_ms) {
      r.elapsed_ms = c.clock.tick_ms() - r.start_tick;
      if (r.elapsed_ms >= sim_ms) break;
      c.clock.sleep_ms(kSleepSliceMs);
      if (++slices % kSlicesPerHaltPoll == 0 && run.halt_requested()) return SimEnd::Halted;
    }

    const SimSample s = sim_step(r, r.elapsed_ms);
    if (s.fault == StepFault::unstable) return SimEnd::Unstable;
    if (s.fault == StepFault::time_frozen) return SimEnd::TimeFrozen;
    c.plotted_point.rollover = s.revolutions;

    // The phase plot. Velocity is drawn upward on both plots: a positive velocity lies
    // above the centre.
    plot.revolution_slots[3] = clng_sat(s.revolutions);
    plot.phase_y = (-1000 < s.velocity && s.velocity < 1000)
                       ? clng(phase_centre_y - s.velocity_value * 10)
                       : 0;
    plot.phase_counts = s.phase_counts;
    if (!poincare_file && s.past_time_out) plot_phase_point(plot);

    // The orbit file.
    if (save.saving_orbit && r.saved_lines < plot.number_of_points && phase_file &&
        s.past_time_out) {
      std::size_t n =
          format_orbit_line_ms(line, s.elapsed_ms, s.angle - kSimulationPi,
                               s.velocity_value * kRadPerSecPerV, static_cast<i64>(s.revolutions));
      if (!c.file.write({line, n})) return SimEnd::FileError;
      ++r.saved_lines;
      run.progress(r.saved_lines, plot.number_of_points);
    }
    if (r.saved_lines >= plot.number_of_points) save.saving_orbit = kFalse;

    if (r.refresh.tick(computer_time)) picture1.Refresh();

    // The Poincare plot.
    c.plotted_point.poincare_event = kFalse;
    if (s.poincare_event) {
      plot.poincare_y = poincare_centre_y - s.velocity_value * 10;
      plot_poincare_point(plot);
      c.plotted_point.poincare_event = kTrue;
    }
    c.sim.drive_sine_prev = r.drive_sine_prev;

    // The Poincare file.
    if (r.saved_lines < plot.number_of_points && poincare_file && s.past_time_out &&
        s.poincare_event) {
      std::size_t n =
          format_sim_poincare_line(line, s.angle - kFilePi, s.velocity_value * kRadPerSecPerV);
      if (!c.file.write({line, n})) return SimEnd::FileError;
      ++r.saved_lines;
      run.progress(r.saved_lines, plot.number_of_points);
      c.plotted_point.poincare_event = kFalse;
    }

    store_for_print(plot, s);

    if (run.clear_requested()) {
      plot.cnt = 0;
      picture1.Cls();
      setup_phase_plot(plot);
      draw_phase_axes(plot);
      r.refresh.restart();
    }
  }
}

SimRunEnd finish_sim_run(const SimContext& c, SimEnd how, const SimRun& r,
                         const SimStageHook& on_stage) {
  SimRunEnd told;
  const bool was_saving = c.save.saving != kFalse;
  if (was_saving) {
    // A run stopped by HALT, or whose last values were garbage, leaves no file; any file
    // of that name from before stays as it was. Otherwise what was written is kept.
    // A run whose clock stopped before its first data line replaces nothing either.
    const bool nothing_saved = how == SimEnd::TimeFrozen && r.saved_lines == 0;
    if (how == SimEnd::Halted || how == SimEnd::Unstable || nothing_saved) {
      c.file.discard();
    } else {
      c.file.keep(&told.file_error);
    }
  }
  c.plotted_point.poincare_event = kFalse;
  c.plot.plot_flag = kFalse;
  c.save.saving = kFalse;
  c.save.saving_orbit = kFalse;
  if (on_stage) on_stage(SimStage::ended);
  // Control goes back to the window, which shows everything drawn.
  c.plot.Picture1.Refresh();

  if (how == SimEnd::Unstable) {
    std::string text =
        "The simulation was stopped because the pendulum's angle or velocity is no longer a "
        "usable number (the parameters make the model blow up).";
    if (was_saving) text += " The unfinished file was not kept.";
    told.problem = std::move(text);
  } else if (how == SimEnd::TimeFrozen) {
    const double seconds = r.model.sim_time / c.sim.omega0;
    std::string text = "The simulation was stopped after " + std::to_string(std::llround(seconds)) +
                       " s of pendulum time: its clock can no longer advance by one step.";
    if (was_saving && r.saved_lines == 0)
      text += " No point had been saved, so no file was written.";
    else if (was_saving)
      text += " The file holds the " + std::to_string(r.saved_lines) + " of " +
              std::to_string(c.plot.number_of_points) + " points saved so far.";
    told.problem = std::move(text);
  }
  return told;
}

}  // namespace kv
