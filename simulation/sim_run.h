// The simulation run: the loop behind "Continue" that steps the pendulum model, draws every
// step on the phase-plane plot and one step per drive period on the Poincare plot, stores
// the points for printing and writes the save file, until HALT or until the requested
// number of lines is saved. It feeds the plots the same quantities in the same units as a
// live acquisition (angle counts of 4000 per revolution, velocity values).
#pragma once

#include <string>

#include "platform/vb_numeric.h"
#include "simulation/model.h"

namespace kv {
struct Form1;
class RunControl;

// How a run ended.
enum class SimEnd {
  Halted,      // HALT was pressed
  Completed,   // the save file holds the requested number of lines
  FileError,   // a line could not be written to the save file
  Unstable,    // the angle or velocity became non-finite or absurdly large
  TimeFrozen,  // a step no longer advanced the single-precision time
};

inline constexpr double kWrapPeriod = 6.2831854;

// Keeps the angle in [0, 6.2831854] and counts whole turns in `rollover`: an angle of
// exactly 6.2831854 stays, one above it loses a period, a negative one gains one. The
// angle must be finite and bounded (see kMaxStateMagnitude).
inline void wrap_angle(double& angle, double& rollover) {
  while (angle > kWrapPeriod) {
    rollover += 1;
    angle -= kWrapPeriod;
  }
  while (angle < 0) {
    rollover -= 1;
    angle += kWrapPeriod;
  }
}

// Pacing of the phase-plane refresh: every 5 steps at first, one step more per 4000 steps
// of age, fixed once the age reaches 100000; twenty times less often in computer time.
struct RefreshPacer {
  i32 interval = 0, step = 1, age = 1;
  // Advances by one iteration; true when the phase-plane picture is to be refreshed now.
  bool tick(bool computer_time) {
    if (age < 100000) {
      interval = age / 4000 + 5;
      ++age;
      if (computer_time) interval *= 20;
    }
    if (step % interval == 0) {
      step = 1;
      return true;
    }
    ++step;
    return false;
  }
  void restart() { age = 1; }
};

// The panel's choices a run is made with, read once when it starts (no input reaches the
// panel while the run goes on).
struct SimOptions {
  bool real_time = false;      // Check1: wait for the wall clock
  bool computer_time = false;  // Check2: the run's clock is the simulated time
  bool phase_file = false;     // Check3: orbit lines are saved
  bool poincare_file = false;  // Check4: Poincare lines are saved
};

// The state of one run's loop.
struct SimRun {
  SimOptions options;
  PendulumModel model;
  double angle = 0, velocity = 0;  // dimensionless state
  double h = 0;                    // step, 2 ms of pendulum time
  double drive_phase = 0;          // radian; shifts the Poincare sampling instant
  i64 start_tick = 0;              // clock at the start of the loop
  i64 elapsed_ms = 0;              // run time of the time column, time-out and pacing
  i32 saved_lines = 0;
  RefreshPacer refresh;
};

// The panel's check boxes as a run reads them.
SimOptions sim_options(const Form1& f);

// Sets up a run from the values stored in `f` (model parameters, initial state) and the
// given options: time 0, revolution count 0, nothing saved yet; reads the start tick.
SimRun start_sim_run(Form1& f, double drive_phase, const SimOptions& options);
// The same with the options of the panel's check boxes.
SimRun start_sim_run(Form1& f, double drive_phase);

// Runs the loop until HALT, until the requested lines are saved, or until a fault ends it.
// `run` is polled for HALT once per step (and while waiting for the wall clock) and for
// Clear once per step.
SimEnd run_sim_loop(Form1& f, SimRun& r, RunControl& run);

// Ends the run: closes the save file, keeping it unless HALT or an unstable model ended
// the run (an older file of that name then survives), tells the user why a run ended
// early, clears the run's flags and greys HALT. Returns the text told to the user (a file
// error or why the run ended early), empty when nothing was told.
std::string finish_sim_run(Form1& f, SimEnd how, const SimRun& run);

}  // namespace kv
