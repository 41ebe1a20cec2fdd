// Parameter sweeps of the simulated pendulum: orbit (bifurcation) diagrams and maps of the
// largest Lyapunov exponent. A request names the simulation's nine panel texts, one or two
// swept boxes with their ranges, the Poincare points to discard (transient) and to keep,
// and how each value starts; run_sweep computes the cells on several threads and hands
// them, in grid order, to a row sink. Nothing here draws, asks or writes a file: the faces
// (kestavor-cli, kestavor-mpi, the window, the Python module) do.
//
// Every grid value is written as the shortest text that reads back as the same double,
// and the cell reads its panel from texts exactly as the simulation does, so the kept
// points of a value are the points `kestavor-cli simulate --poincare T+K` saves as its
// lines T+1 .. T+K when given that text.
//
// Plain API (for the Python binding too):
//   SweepRequest r;                  // base panel, axes, counts, kind, mode
//   std::string why = check_sweep(r);// empty when the request can run
//   SweepOutcome o = run_sweep(r, run, [](const SweepCell& c) { ...; return true; });
// The sink is called on the caller's thread, one cell at a time in grid order (row by
// row, x fastest); returning false stops the sweep (a failed write).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/outcome.h"
#include "simulation/sim_panel.h"

namespace kv {
class RunControl;

// One swept box: `steps` values from `from` to `to`, evenly spaced (the last one is `to`
// itself); one value is `from`.
struct SweepAxis {
  const PanelBox* box = nullptr;  // which panel text is swept (sim_panel.h: kDriveAmplitudeBox...)
  double from = 0, to = 0;
  std::int64_t steps = 1;
};

enum class SweepKind {
  orbit,     // the kept Poincare points of every value
  lyapunov,  // per cell the largest Lyapunov exponent and the period
};

enum class SweepStart {
  fresh,   // every value starts from the panel's initial angle and velocity
  follow,  // each value starts from the previous value's end state (along x)
};

struct SweepRequest {
  PanelTexts base;               // the nine panel texts; an empty one keeps the start-up value
  SweepAxis x;                   // across
  SweepAxis y;                   // second axis of a map; box null for none
  std::int64_t transient = 200;  // Poincare points discarded
  std::int64_t kept = 100;       // Poincare points kept
  SweepKind kind = SweepKind::orbit;
  SweepStart start = SweepStart::fresh;
  unsigned threads = 0;  // 0: every core
  // Two kept points closer than this (angle in radian, velocity dimensionless) are the
  // same point. A point is taken at the first step after the drive's crossing, so the
  // points of a periodic orbit scatter by up to one step's motion (about 0.02).
  double period_tolerance = 0.05;
  int period_limit = 32;            // more distinct points than this: chaotic
  std::int64_t reorder_window = 0;  // cells held for the grid order; 0: chosen from threads
};

// One kept Poincare point in the Poincare file's quantities.
struct SweepPoint {
  double phase = 0;     // angle - 3.14159, radian
  double velocity = 0;  // rad/s as the file writes it
};

enum class CellState {
  ok,
  unstable,  // the simulation blew up: no points, no exponent
  refused,   // the panel of this cell leaves the model undefined
};

struct SweepCell {
  std::int64_t index = 0;  // grid order: iy * x.steps + ix
  std::int64_t ix = 0, iy = 0;
  std::string x_text, y_text;  // the values as given to the panel (y empty without y)
  // The initial angle and velocity texts the cell's panel was given: a follow cell's start
  // (the previous value's end state); empty when the base panel's texts were used.
  std::string start_angle, start_velocity;
  CellState state = CellState::ok;
  std::vector<SweepPoint> points;  // orbit: the kept points (empty for a map)
  double exponent = 0;             // lyapunov: largest exponent, 1/s
  int period = 0;                  // lyapunov: distinct kept points; 0 for chaotic
};

using SweepSink = std::function<bool(const SweepCell&)>;

// done, halted; refused (the request cannot be swept: the reason says why) or failed (the
// sink could not take a row).
struct SweepOutcome : Outcome {
  std::int64_t cells = 0;     // cells handed to the sink
  std::int64_t unstable = 0;  // of which blew up
  std::int64_t refused = 0;   // of which had an undefined model
};

// The text of a grid value: the shortest that reads back as the same double.
std::string value_text(double v);
// Value i of an axis (i from 0 to steps - 1).
double axis_value(const SweepAxis& a, std::int64_t i);

// An empty text when the request can run; otherwise a message naming what is wrong. Checks
// the counts, the ranges, the base panel, the swept values (every cell of a grid up to
// 2^20 cells, the edges of a larger one) and that T + K points lie within the clock.
std::string check_sweep(const SweepRequest& r);

// Runs the sweep: refuses a request check_sweep refuses (before any work), polls `run`
// for HALT and reports progress in cells, hands every cell to `sink` in grid order.
SweepOutcome run_sweep(const SweepRequest& r, RunControl& run, const SweepSink& sink);

// The building blocks the MPI program shares with run_sweep. A unit of work is one cell
// (fresh) or one row along x (follow, whose cells depend on each other).
std::int64_t sweep_units(const SweepRequest& r);
std::int64_t sweep_cells(const SweepRequest& r);
// Computes unit `u`, handing each cell to `put` in order; `stop` is polled between Poincare
// points (a true value abandons the unit; put is then not called for the rest).
void compute_unit(const SweepRequest& r, std::int64_t u,
                  const std::function<void(SweepCell&&)>& put, const std::function<bool()>& stop);

// Cells a sweep over `workers` threads or ranks holds for the grid order when the request
// leaves it open: 16 per worker (at least 64), fewer when an orbit diagram keeps many points
// per cell (about 4 million points held at most), never fewer than 2 per worker.
std::int64_t reorder_window(const SweepRequest& r, std::int64_t workers);

// The cells of one unit (first cell index and count).
struct UnitSpan {
  std::int64_t first = 0, count = 0;
};
UnitSpan unit_span(const SweepRequest& r, std::int64_t u);

// The Lyapunov spectrum of one panel: both exponents (1/s, largest first) from the
// variational equations along the simulation's own steps, over `kept` drive periods after
// `transient` ones. For checks of the map's exponent; false when the model blows up.
bool lyapunov_spectrum(const PanelTexts& panel, std::int64_t transient, std::int64_t kept,
                       double exponents[2]);

}  // namespace kv
