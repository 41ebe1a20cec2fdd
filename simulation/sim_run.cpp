#include "simulation/sim_run.h"

#include <cmath>
#include <string>

#include "app/state/form1.h"
#include "datafiles/data_lines.h"
#include "datafiles/save_file.h"
#include "platform/run_control.h"
#include "plot/phase_plot.h"
#include "plot/poincare_plot.h"

namespace kv {

namespace {

constexpr double kPi7 = 3.1415927;         // pi of the phase count and the orbit file
constexpr double kPi5 = 3.14159;           // pi of the Poincare file
constexpr double kVelocityScale = 57.968;  // dimensionless velocity to velocity value

// While the run waits for the wall clock it sleeps in slices of this many milliseconds,
// and polls HALT after this many slices.
constexpr int kSleepSliceMs = 1;
constexpr int kSlicesPerHaltPoll = 16;

inline i32 next_row(i32 row) {
  return row <= 999999 ? row + 1 : 999999;
}

}  // namespace

SimOptions sim_options(const Form1& f) {
  SimOptions o;
  o.real_time = f.ui[Ctl::Check1].checked;
  o.computer_time = f.ui[Ctl::Check2].checked;
  o.phase_file = f.ui[Ctl::Check3].checked;
  o.poincare_file = f.ui[Ctl::Check4].checked;
  return o;
}

SimRun start_sim_run(Form1& f, double drive_phase) {
  return start_sim_run(f, drive_phase, sim_options(f));
}

SimRun start_sim_run(Form1& f, double drive_phase, const SimOptions& options) {
  SimRun r;
  r.model.q_factor = f.q_factor;
  r.model.drive_amplitude = f.drive_amplitude;
  r.model.drive_frequency = f.drive_frequency;
  r.model.sim_time = 0;
  r.h = 0.002 * f.omega0;
  r.angle = f.initial_angle;
  r.velocity = f.initial_velocity;
  r.drive_phase = drive_phase;
  r.start_tick = f.sys.clock.tick_ms();
  r.elapsed_ms = 0;
  f.rollover = 0;
  r.saved_lines = 0;
  r.refresh = RefreshPacer{};
  r.options = options;
  return r;
}

SimEnd run_sim_loop(Form1& f, SimRun& r, RunControl& run) {
  Surface& picture1 = f.Picture1;
  // The surfaces keep their size for the whole run.
  const double phase_centre_y = picture1.Height() / 2.0;
  const double poincare_centre_y = f.Picture2.ScaleHeight() / 2.0;
  const double time_out_ms = f.time_out * 1000;
  char line[160];

  for (;;) {
    if (run.halt_requested()) return SimEnd::Halted;
    if (f.saving ? r.saved_lines >= f.number_of_points : r.saved_lines < f.number_of_points)
      return SimEnd::Completed;

    // Pacing. In computer time the clock of the run is the simulated time; in real time
    // the run waits until the wall clock has caught up with the simulated time, and the
    // clock of the run is the last wall-clock reading.
    const bool computer_time = r.options.computer_time;
    const double sim_ms = r.model.sim_time / f.omega0 * 1000;
    if (computer_time) r.elapsed_ms = static_cast<i64>(round_half_even(sim_ms));
    int slices = 0;
    while (r.options.real_time && r.elapsed_ms < sim_ms) {
      r.elapsed_ms = f.sys.clock.tick_ms() - r.start_tick;
      if (r.elapsed_ms >= sim_ms) break;
      f.sys.clock.sleep_ms(kSleepSliceMs);
      if (++slices % kSlicesPerHaltPoll == 0 && run.halt_requested()) return SimEnd::Halted;
    }

    const float time_before = r.model.sim_time;
    double time;
    r.model.advance_step(time, r.angle, r.velocity, r.h);
    if (!(std::fabs(r.angle) <= kMaxStateMagnitude && std::fabs(r.velocity) <= kMaxStateMagnitude))
      return SimEnd::Unstable;
    if (r.model.sim_time == time_before) return SimEnd::TimeFrozen;

    const double vel_scaled = r.velocity * kVelocityScale;
    // Velocity is drawn upward on both plots: a positive velocity lies above the centre.
    wrap_angle(r.angle, f.rollover);
    f.revolution_slots[3] = clng_sat(f.rollover);
    f.phase_y =
        (-1000 < r.velocity && r.velocity < 1000) ? clng(phase_centre_y - vel_scaled * 10) : 0;
    f.phase_counts = cint((r.angle / kPi7) * 2000);

    const bool phase_file = r.options.phase_file;
    const bool poincare_file = r.options.poincare_file;
    const bool past_time_out = r.elapsed_ms > time_out_ms;
    if (!poincare_file && past_time_out) plot_phase_point(f);

    if (f.saving_orbit && r.saved_lines < f.number_of_points && phase_file && past_time_out) {
      std::size_t n =
          format_orbit_line_ms(line, r.elapsed_ms, r.angle - kPi7,
                               vel_scaled * kVelocityToRadPerSec, static_cast<i64>(f.rollover));
      if (!write_data_line(f, {line, n})) return SimEnd::FileError;
      ++r.saved_lines;
      run.progress(r.saved_lines, f.number_of_points);
    }
    if (r.saved_lines >= f.number_of_points) f.saving_orbit = kFalse;

    if (r.refresh.tick(computer_time)) picture1.Refresh();

    // Poincare sampling at the upward zero crossing of the drive, shifted by the phase.
    f.poincare_event = kFalse;
    const double s = r.model.drive_sine(f.drive_frequency * r.model.sim_time - r.drive_phase);
    if (s > 0 && f.drive_sine_prev < 0 && past_time_out) {
      f.poincare_y = poincare_centre_y - vel_scaled * 10;
      plot_poincare_point(f);
      f.poincare_event = kTrue;
    }
    f.drive_sine_prev = s;
    // A sample is stored for printing whether or not it also goes to the file.
    const bool sampled = f.poincare_event != kFalse;
    if (r.saved_lines < f.number_of_points && poincare_file && past_time_out && sampled) {
      std::size_t n =
          format_sim_poincare_line(line, r.angle - kPi5, vel_scaled * kVelocityToRadPerSec);
      if (!write_data_line(f, {line, n})) return SimEnd::FileError;
      ++r.saved_lines;
      run.progress(r.saved_lines, f.number_of_points);
      f.poincare_event = kFalse;
    }

    // Stores for printing. plot_phase_point above wrote column 1 of the row cnt held
    // before this advance; both columns of the new row are written here.
    f.cnt = next_row(f.cnt);
    if (f.phase_counts < -20000 || f.phase_counts > 20000) f.phase_counts = 0;
    const double x_print = f.phase_counts * 1.5;
    f.orbit_points.at(f.cnt, 1) =
        f.cycle_number == 0 ? cint(x_print) : clng(x_print) / (f.cycle_number + 1);
    const bool velocity_in_range = -2000 < vel_scaled && vel_scaled < 2000;
    i32 y_print = velocity_in_range ? cint(vel_scaled * 10) : 0;
    if (y_print >= 20000 || y_print <= -20000) y_print = 0;
    f.orbit_points.at(f.cnt, 2) = y_print;
    if (velocity_in_range && sampled) {
      f.poincare_cnt = next_row(f.poincare_cnt);
      f.poincare_points.at(f.poincare_cnt, 1) = cint(x_print);
      f.poincare_points.at(f.poincare_cnt, 2) = cint(vel_scaled * 10);
    }

    if (run.clear_requested()) {
      f.cnt = 0;
      picture1.Cls();
      setup_phase_plot(f);
      draw_phase_axes(f);
      r.refresh.restart();
    }
  }
}

std::string finish_sim_run(Form1& f, SimEnd how, const SimRun& r) {
  std::string told;
  const bool was_saving = f.saving != kFalse;
  if (was_saving) {
    // A run stopped by HALT, or whose last values were garbage, leaves no file; any file
    // of that name from before stays as it was. Otherwise what was written is kept
    // (terminate_file reports a write error itself).
    // A run whose clock stopped before its first data line replaces nothing either.
    const bool nothing_saved = how == SimEnd::TimeFrozen && r.saved_lines == 0;
    if (how == SimEnd::Halted || how == SimEnd::Unstable || nothing_saved) {
      discard_save_file(f);
    } else {
      terminate_file(f, &told);
    }
  }
  f.poincare_event = kFalse;
  f.plot_flag = kFalse;
  f.saving = kFalse;
  f.saving_orbit = kFalse;
  f.ui.set_enabled(Ctl::Text18, false);
  f.ui.set_back(Ctl::Text18, kGrey);
  // Control goes back to the window, which shows everything drawn.
  f.Picture1.Refresh();

  if (how == SimEnd::Unstable) {
    std::string text =
        "The simulation was stopped because the pendulum's angle or velocity is no longer a "
        "usable number (the parameters make the model blow up).";
    if (was_saving) text += " The unfinished file was not kept.";
    f.sys.dialogs.message(text, "Simulation", MsgIcon::Warning);
    told = text;
  } else if (how == SimEnd::TimeFrozen) {
    const double seconds = r.model.sim_time / f.omega0;
    std::string text = "The simulation was stopped after " + std::to_string(std::llround(seconds)) +
                       " s of pendulum time: its clock can no longer advance by one step.";
    if (was_saving && r.saved_lines == 0)
      text += " No point had been saved, so no file was written.";
    else if (was_saving)
      text += " The file holds the " + std::to_string(r.saved_lines) + " of " +
              std::to_string(f.number_of_points) + " points saved so far.";
    f.sys.dialogs.message(text, "Simulation", MsgIcon::Warning);
    told = text;
  }
  return told;
}

}  // namespace kv
