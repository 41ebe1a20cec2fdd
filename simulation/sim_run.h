// The simulation run: the loop behind "Continue" that paces the pure step (sim_step.h)
// and hands every sample to its sinks in a fixed order: the phase-plane plot, the orbit
// file, the Poincare plot (one point per drive period), the Poincare file and the tables
// the printed page is drawn from; until HALT or until the requested number of lines is
// saved. It feeds the plots the same quantities in the same units as a live acquisition
// (angle counts of 4000 per revolution, velocity values). The run sees no control of the
// window: it works on the state groups of a SimContext, and whoever started it is told
// through a RunControl, the stage hook and its outcome.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "acquisition/sample_decoder.h"
#include "platform/clock.h"
#include "platform/vb_numeric.h"
#include "simulation/sim_step.h"
#include "simulation/simulation_state.h"

namespace kv {
struct PlotState;
struct SaveState;
class RunControl;

// How a run ended.
enum class SimEnd {
  Halted,      // HALT was pressed
  Completed,   // the save file holds the requested number of lines
  FileError,   // a line could not be written to the save file
  Unstable,    // the angle or velocity became non-finite or absurdly large
  TimeFrozen,  // a step no longer advanced the single-precision time
};

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
    // step counts from 1 and is reset when it reaches a multiple of the interval; below
    // the interval it cannot be one, which spares the division on almost every step. It
    // can pass the interval only when a restart made the interval smaller.
    if (step < interval) {
      ++step;
      return false;
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

// The moments at which the screen around a run changes (HALT's colours and state, Clear):
// the engine calls the request's hook at each, so that the window shows what it showed
// when these were part of the run, at the same point of the run.
enum class SimStage {
  begun,    // the parameters are accepted and a run is being set up
  saving,   // the save file is open
  running,  // everything is drawn; the loop starts next
  ended,    // the loop ended and its file is closed
};
using SimStageHook = std::function<void(SimStage)>;

// The save file a run writes: opened with its header lines (N and the kind word), written
// line by line, then kept or thrown away. A failure comes back as a text naming the file
// and the reason (the window's save file is its data file, datafiles/save_file).
class SimSaveFile {
 public:
  virtual ~SimSaveFile() = default;
  // False with no file open; `error` then says which file and why.
  virtual bool open(const std::string& path, i32 n, std::string_view kind, std::string& error) = 0;
  // False after a write error; keep() then tells which file failed and why.
  virtual bool write(std::string_view line) = 0;
  // Closes the file and keeps what was written; false, with the reason in `error`, when
  // the final write or move fails. Harmless when no file is open.
  virtual bool keep(std::string* error) = 0;
  // Closes the file and throws it away; an older file of that name stays.
  virtual void discard() = 0;
};

// What a simulation works on: the parameter set, the plots and their tables, the data
// file's flags and the file itself, the clock a real-time run waits for, and the plotted
// point's revolution count and Poincare flag (rollover, poincare_event), which it shares
// with the acquisition's decoder.
struct SimContext {
  SimulationState& sim;
  PlotState& plot;
  SaveState& save;
  SimSaveFile& file;
  Clock& clock;
  DecoderState& plotted_point;
};

// The state of one run's loop: the stepped pendulum and the loop's own counters.
struct SimRun : SimPendulum {
  SimOptions options;
  i64 start_tick = 0;  // clock at the start of the loop
  i64 elapsed_ms = 0;  // run time of the time column, time-out and pacing
  i32 saved_lines = 0;
  RefreshPacer refresh;
};

// Sets up a run from the stored parameter set (model parameters, initial state, drive
// phase, time-out) and the given options: time 0, revolution count 0, nothing saved yet;
// reads the start tick.
SimRun start_sim_run(const SimContext& c, const SimOptions& options);

// Runs the loop until HALT, until the requested lines are saved, or until a fault ends it.
// `run` is polled for HALT once per step (and while waiting for the wall clock) and for
// Clear once per step.
SimEnd run_sim_loop(const SimContext& c, SimRun& r, RunControl& run);

// What the end of a run has to tell: the save file's failure to close, and why the run
// ended early; each empty when there is nothing to tell.
struct SimRunEnd {
  std::string file_error;
  std::string problem;
};

// Ends the run: closes the save file, keeping it unless HALT or an unstable model ended
// the run (an older file of that name then survives), clears the run's flags and calls
// the hook with SimStage::ended. Returns what the user is to be told.
SimRunEnd finish_sim_run(const SimContext& c, SimEnd how, const SimRun& r,
                         const SimStageHook& on_stage = {});

}  // namespace kv
