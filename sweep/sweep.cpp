#include "sweep/sweep.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "datafiles/data_lines.h"
#include "platform/run_control.h"
#include "simulation/sim_step.h"
#include "sweep/tangent_step.h"

namespace kv {

namespace {

// Grids up to this many cells have every cell's panel checked before the sweep; larger
// ones have their edges checked, and a cell refused inside is marked when it runs.
constexpr std::int64_t kCheckEveryCell = 1 << 16;

// The values a box left empty keeps: those the program starts with.
SimParameters startup_values() {
  SimParameters p;
  static_cast<PendulumParameters&>(p) = startup_pendulum();
  derive_values(p);
  p.initial_velocity = 1.0;
  p.initial_angle = 1.0;
  return p;
}

std::string caption(const PanelBox* box) {
  return "\"" + std::string(box->caption) + "\"";
}

// Where the next value of a follow row starts: the previous value's end state as the
// panel's initial angle (radian) and velocity (rad/s) texts.
struct StartTexts {
  std::string angle, velocity;
};

PanelTexts cell_panel(const SweepRequest& r, std::int64_t ix, std::int64_t iy,
                      const StartTexts* start) {
  PanelTexts t = r.base;
  t.*(r.x.box->text) = value_text(axis_value(r.x, ix));
  if (r.y.box) t.*(r.y.box->text) = value_text(axis_value(r.y, iy));
  if (start) {
    t.initial_angle = start->angle;
    t.initial_velocity = start->velocity;
  }
  return t;
}

// Why the panel `t` cannot make a cell of T + K points; empty when it can.
std::string cell_problem(const PanelTexts& t, std::int64_t points) {
  const SimParameters p = read_panel(startup_values(), t);
  if (std::string problem = check_panel(t, p); !problem.empty()) return problem;
  const double h = 0.002 * p.omega0;
  const long long reachable = reachable_poincare_points(h, p.drive_frequency, p.omega0, p.time_out);
  if (points > reachable)
    return "at most " + std::to_string(reachable) +
           " Poincare points can be simulated with these parameters (the simulation's clock "
           "stops advancing), but transient + kept is " +
           std::to_string(points) + ".";
  return {};
}

// The stepped pendulum of a cell, set up as the simulation's run sets it up.
SimPendulum start_pendulum(const SimParameters& p) {
  SimPendulum s;
  s.model.q_factor = p.q_factor;
  s.model.drive_amplitude = p.drive_amplitude;
  s.model.drive_frequency = p.drive_frequency;
  s.model.sim_time = 0;
  s.h = 0.002 * p.omega0;
  s.angle = p.initial_angle;
  s.velocity = p.initial_velocity;
  s.drive_phase = p.drive_phase;
  s.time_out_ms = p.time_out * 1000;
  s.drive_sine_prev = 0;
  s.rollover = 0;
  return s;
}

// The run's clock before a step, as the simulation's loop keeps it in computer time.
inline i64 elapsed_ms(const SimPendulum& s, double omega0) {
  const double sim_ms = s.model.sim_time / omega0 * 1000;
  return static_cast<i64>(round_half_even(sim_ms));
}

// The orbit of one cell: the Poincare points T + 1 .. T + K. False when it blew up or was
// stopped (`stopped` says which).
bool orbit_cell(const SimParameters& p, const SweepRequest& r, SimPendulum& s,
                std::vector<SweepPoint>& points, const std::function<bool()>& stop, bool& stopped) {
  const std::int64_t need = r.transient + r.kept;
  points.reserve(static_cast<std::size_t>(r.kept));
  for (std::int64_t count = 0; count < need;) {
    const SimSample smp = sim_step(s, elapsed_ms(s, p.omega0));
    if (smp.fault != StepFault::none) return false;
    if (!smp.poincare_event) continue;
    if (++count > r.transient)
      points.push_back({smp.angle - kFilePi, smp.velocity_value * kRadPerSecPerV});
    if (stop && stop()) {
      stopped = true;
      return false;
    }
  }
  return true;
}

// One step of the cell's pendulum with tangent vectors: sim_step's work (to the bit) with
// the variational equations carried along. Returns true for a Poincare point; `fault`
// set when the step gave no sample.
inline bool tangent_step(SimPendulum& s, double omega0, Tangent* t, int n, bool& fault) {
  const i64 elapsed = elapsed_ms(s, omega0);
  const float time_before = s.model.sim_time;
  double time;
  advance_with_tangents(s.model, time, s.angle, s.velocity, s.h, t, n);
  if (!(std::fabs(s.angle) <= kMaxStateMagnitude && std::fabs(s.velocity) <= kMaxStateMagnitude) ||
      s.model.sim_time == time_before) {
    fault = true;
    return false;
  }
  wrap_angle(s.angle, s.rollover);
  const bool past_time_out = elapsed > s.time_out_ms;
  const double sine =
      s.model.drive_sine(s.model.drive_frequency * s.model.sim_time - s.drive_phase);
  const bool event = sine > 0 && s.drive_sine_prev < 0 && past_time_out;
  s.drive_sine_prev = sine;
  return event;
}

// Growth of the `n` tangent vectors since the last call, as logarithms; the vectors are
// made orthonormal again (Gram-Schmidt). False when a vector vanished or overflowed.
inline bool renormalise(Tangent* t, int n, double* log_growth) {
  const double n0 = std::hypot(t[0].angle, t[0].velocity);
  if (!(n0 > 0 && std::isfinite(n0))) return false;
  t[0].angle /= n0;
  t[0].velocity /= n0;
  log_growth[0] = std::log(n0);
  if (n == 2) {
    const double dot = t[1].angle * t[0].angle + t[1].velocity * t[0].velocity;
    t[1].angle -= dot * t[0].angle;
    t[1].velocity -= dot * t[0].velocity;
    const double n1 = std::hypot(t[1].angle, t[1].velocity);
    if (!(n1 > 0 && std::isfinite(n1))) return false;
    t[1].angle /= n1;
    t[1].velocity /= n1;
    log_growth[1] = std::log(n1);
  }
  return true;
}

// The kept states of a map cell, for its period.
struct KeptState {
  double angle, velocity;
};

// Distinct states among `kept` within the tolerance (angles compared around the circle);
// 0 when there are more than the limit.
int period_of(const std::vector<KeptState>& kept, double tolerance, int limit) {
  std::vector<KeptState> distinct;
  for (const KeptState& k : kept) {
    bool known = false;
    for (const KeptState& d : distinct) {
      double da = std::fabs(k.angle - d.angle);
      da = std::min(da, kWrapPeriod - da);
      if (da <= tolerance && std::fabs(k.velocity - d.velocity) <= tolerance) {
        known = true;
        break;
      }
    }
    if (known) continue;
    if (static_cast<int>(distinct.size()) == limit) return 0;
    distinct.push_back(k);
  }
  return static_cast<int>(distinct.size());
}

// The exponents of one cell over kept drive periods after the transient ones: `n` of them
// (1 or 2), in 1/s. Fills `kept_states` when given. False when it blew up or was stopped.
bool exponents_of(const SimParameters& p, std::int64_t transient, std::int64_t kept, SimPendulum& s,
                  int n, double* exponents, std::vector<KeptState>* kept_states,
                  const std::function<bool()>& stop, bool& stopped) {
  Tangent t[2] = {{1, 0}, {0, 1}};
  double sums[2] = {0, 0}, growth[2] = {0, 0};
  // The span is counted in steps of h: the single-precision clock rounds every advance,
  // and would misstate the time the steps integrated by up to a percent.
  std::int64_t steps = 0, start_step = 0;
  if (kept_states) kept_states->reserve(static_cast<std::size_t>(kept));
  for (std::int64_t count = 0; count < transient + kept;) {
    bool fault = false;
    const bool event = tangent_step(s, p.omega0, t, n, fault);
    if (fault) return false;
    ++steps;
    if (!event) continue;
    ++count;
    if (!renormalise(t, n, growth)) return false;
    if (count == transient) {
      start_step = steps;
    } else if (count > transient) {
      for (int i = 0; i < n; ++i) sums[i] += growth[i];
      if (kept_states) kept_states->push_back({s.angle, s.velocity});
    }
    if (stop && stop()) {
      stopped = true;
      return false;
    }
  }
  const double seconds = static_cast<double>(steps - start_step) * s.h / p.omega0;
  for (int i = 0; i < n; ++i) exponents[i] = sums[i] / seconds;
  return true;
}

}  // namespace

std::string value_text(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

double axis_value(const SweepAxis& a, std::int64_t i) {
  if (a.steps <= 1 || i == 0) return a.from;
  if (i == a.steps - 1) return a.to;
  return a.from + (a.to - a.from) * static_cast<double>(i) / static_cast<double>(a.steps - 1);
}

std::int64_t sweep_cells(const SweepRequest& r) {
  return r.x.steps * (r.y.box ? r.y.steps : 1);
}

std::int64_t sweep_units(const SweepRequest& r) {
  return r.start == SweepStart::follow ? (r.y.box ? r.y.steps : 1) : sweep_cells(r);
}

std::int64_t reorder_window(const SweepRequest& r, std::int64_t workers) {
  if (r.reorder_window > 0) return r.reorder_window;
  std::int64_t w = std::max<std::int64_t>(64, 16 * workers);
  if (r.kind == SweepKind::orbit) w = std::min(w, (std::int64_t{4} << 20) / r.kept);
  return std::max(w, 2 * workers);
}

UnitSpan unit_span(const SweepRequest& r, std::int64_t u) {
  if (r.start == SweepStart::follow) return {u * r.x.steps, r.x.steps};
  return {u, 1};
}

std::string check_sweep(const SweepRequest& r) {
  const auto check_axis = [](const SweepAxis& a, const char* which) -> std::string {
    const std::string name = a.box ? caption(a.box) : std::string(which);
    if (!std::isfinite(a.from) || !std::isfinite(a.to))
      return "the range of " + name + " must be two ordinary numbers.";
    if (a.steps < 1) return "the number of values of " + name + " must be at least 1.";
    if (a.steps > (std::int64_t{1} << 24))
      return "the number of values of " + name + " must be at most 16777216.";
    if (a.steps > 1 && a.from == a.to)
      return "the range of " + name + " is empty (from equals to) but " + std::to_string(a.steps) +
             " values are asked for.";
    return {};
  };
  if (!r.x.box) return "no parameter to sweep was given.";
  if (std::string e = check_axis(r.x, "the parameter"); !e.empty()) return e;
  if (r.y.box) {
    if (std::string e = check_axis(r.y, "the second parameter"); !e.empty()) return e;
    if (r.y.box == r.x.box) return "the two swept parameters must differ.";
    if (r.kind == SweepKind::orbit)
      return "an orbit diagram sweeps one parameter; a second one needs a map.";
  }
  if (r.transient < 0) return "the transient must be 0 or more Poincare points.";
  if (r.kept < 1 || r.kept > 1000000) return "the kept points must be from 1 to 1000000.";
  if (r.transient > 1000000000) return "the transient must be at most 1000000000 points.";
  if (r.kind == SweepKind::lyapunov && !(r.period_tolerance >= 0 && r.period_limit >= 1))
    return "the period's tolerance must be 0 or more and its limit at least 1.";
  if (r.start == SweepStart::follow)
    for (const PanelBox* b : {r.x.box, r.y.box})
      if (b == &kInitialAngleBox || b == &kInitialVelocityBox)
        return "a sweep of " + caption(b) +
               " cannot follow the previous value's end state (it sets the start itself).";

  const std::int64_t points = r.transient + r.kept;
  if (std::string e = cell_problem(r.base, points); !e.empty()) return "the base panel: " + e;
  const std::int64_t nx = r.x.steps, ny = r.y.box ? r.y.steps : 1;
  const auto check_cell = [&](std::int64_t ix, std::int64_t iy) -> std::string {
    const PanelTexts t = cell_panel(r, ix, iy, nullptr);
    std::string e = cell_problem(t, points);
    if (e.empty()) return e;
    std::string where = caption(r.x.box) + " " + t.*(r.x.box->text);
    if (r.y.box) where += ", " + caption(r.y.box) + " " + t.*(r.y.box->text);
    return "the sweep reaches values the simulation refuses (" + where + "): " + e;
  };
  for (std::int64_t iy = 0; iy < ny; ++iy) {
    const bool edge_row = iy == 0 || iy == ny - 1 || nx * ny <= kCheckEveryCell;
    for (std::int64_t ix = 0; ix < nx; ix = (edge_row || ix == nx - 1) ? ix + 1 : nx - 1)
      if (std::string e = check_cell(ix, iy); !e.empty()) return e;
  }
  return {};
}

void compute_unit(const SweepRequest& r, std::int64_t u,
                  const std::function<void(SweepCell&&)>& put, const std::function<bool()>& stop) {
  const UnitSpan span = unit_span(r, u);
  const std::int64_t nx = r.x.steps;
  std::optional<StartTexts> start;
  for (std::int64_t index = span.first; index < span.first + span.count; ++index) {
    SweepCell cell;
    cell.index = index;
    cell.ix = index % nx;
    cell.iy = index / nx;
    const PanelTexts t = cell_panel(r, cell.ix, cell.iy, start ? &*start : nullptr);
    cell.x_text = t.*(r.x.box->text);
    if (r.y.box) cell.y_text = t.*(r.y.box->text);
    if (start) {
      cell.start_angle = start->angle;
      cell.start_velocity = start->velocity;
    }
    const SimParameters p = read_panel(startup_values(), t);
    bool stopped = false, ok = false;
    SimPendulum s;
    if (!check_panel(t, p).empty()) {
      cell.state = CellState::refused;
    } else {
      s = start_pendulum(p);
      if (r.kind == SweepKind::orbit) {
        ok = orbit_cell(p, r, s, cell.points, stop, stopped);
      } else {
        std::vector<KeptState> kept;
        ok = exponents_of(p, r.transient, r.kept, s, 1, &cell.exponent, &kept, stop, stopped);
        if (ok) cell.period = period_of(kept, r.period_tolerance, r.period_limit);
      }
      if (stopped) return;
      if (!ok) {
        cell.state = CellState::unstable;
        cell.points.clear();
        cell.exponent = 0;
      }
    }
    // The next value of a follow row starts where this one ended; after a cell that blew
    // up or was refused, from the panel's own start.
    if (r.start == SweepStart::follow) {
      if (ok)
        start = StartTexts{value_text(s.angle), value_text(s.velocity * p.omega0)};
      else
        start.reset();
    }
    put(std::move(cell));
  }
}

bool lyapunov_spectrum(const PanelTexts& panel, std::int64_t transient, std::int64_t kept,
                       double exponents[2]) {
  const SimParameters p = read_panel(startup_values(), panel);
  if (!check_panel(panel, p).empty()) return false;
  SimPendulum s = start_pendulum(p);
  bool stopped = false;
  return exponents_of(p, transient, kept, s, 2, exponents, nullptr, {}, stopped);
}

SweepOutcome run_sweep(const SweepRequest& r, RunControl& run, const SweepSink& sink) {
  SweepOutcome out;
  if (std::string e = check_sweep(r); !e.empty()) {
    out.status = Status::refused;
    out.reason = "Sweep refused: " + e;
    return out;
  }
  const std::int64_t total = sweep_cells(r), units = sweep_units(r);
  unsigned threads = r.threads ? r.threads : std::max(1u, std::thread::hardware_concurrency());
  threads = static_cast<unsigned>(std::min<std::int64_t>(threads, units));
  const std::int64_t window = reorder_window(r, threads);

  // Cells finished out of order wait in a ring of `window` slots; a worker whose cell lies
  // a window or more ahead of the next one to hand on waits, so memory stays bounded.
  std::mutex m;
  std::condition_variable ready, room;
  std::vector<std::optional<SweepCell>> ring(static_cast<std::size_t>(window));
  std::int64_t next_unit = 0, next_out = 0;
  std::atomic<bool> stop{false};
  const std::function<bool()> stopping = [&stop] { return stop.load(std::memory_order_relaxed); };

  const auto worker = [&] {
    for (;;) {
      std::int64_t u;
      {
        std::lock_guard lock(m);
        if (next_unit >= units || stop) return;
        u = next_unit++;
      }
      compute_unit(
          r, u,
          [&](SweepCell&& c) {
            std::unique_lock lock(m);
            room.wait(lock, [&] { return c.index < next_out + window || stop; });
            if (stop) return;
            ring[static_cast<std::size_t>(c.index % window)] = std::move(c);
            ready.notify_all();
          },
          stopping);
    }
  };
  std::vector<std::thread> pool;
  for (unsigned i = 0; i < threads; ++i) pool.emplace_back(worker);

  run.progress(0, total);
  bool halted = false, sink_failed = false;
  while (next_out < total) {
    std::optional<SweepCell> cell;
    {
      std::unique_lock lock(m);
      auto& slot = ring[static_cast<std::size_t>(next_out % window)];
      if (!ready.wait_for(lock, std::chrono::milliseconds(50), [&] { return slot.has_value(); })) {
        lock.unlock();
        if (run.halt_requested()) {
          halted = true;
          break;
        }
        continue;
      }
      cell = std::move(slot);
      slot.reset();
      ++next_out;
      room.notify_all();
    }
    if (cell->state == CellState::unstable) ++out.unstable;
    if (cell->state == CellState::refused) ++out.refused;
    ++out.cells;
    if (!sink(*cell)) {
      sink_failed = true;
      break;
    }
    run.progress(out.cells, total);
    if (run.halt_requested()) {
      halted = out.cells < total;
      break;
    }
  }
  {
    std::lock_guard lock(m);
    stop = true;
  }
  room.notify_all();
  for (std::thread& t : pool) t.join();
  if (sink_failed) {
    out.reason = "the sweep's rows could not be written.";
    return out;
  }
  out.status = halted ? Status::halted : Status::done;
  return out;
}

}  // namespace kv
