// Speed of the sweep: one orbit-diagram cell against the simulation of its T + K Poincare
// points (the engine of kestavor-cli simulate --poincare T+K writing its file, and the bare
// steps), a Lyapunov-map cell against the orbit cell of the same steps, and a whole sweep
// on 1 and 2 threads. The cell benchmarks time the compared work between their iterations
// (thread CPU time, so that the machine's load cancels) and report the ratios as counters:
// vs_simulate and vs_bare (the cell's time over theirs; the target is at most 1.05) and
// vs_orbit_cell (the target is at most 2). BM_Sweep reports wall time: compare its
// threads:2 row with threads:1 (the target is at least 1.8 times faster).
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdio>
#include <filesystem>

#include "datafiles/save_state.h"
#include "platform/clock.h"
#include "platform/run_control.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
#include "simulation/sim_continue.h"
#include "simulation/sim_panel.h"
#include "simulation/sim_save_file.h"
#include "simulation/sim_step.h"
#include "sweep/sweep.h"

namespace {

constexpr std::int64_t kTransient = 200, kKept = 100;

double thread_cpu_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

kv::PanelTexts startup_panel() {
  kv::PanelTexts t;
  for (const kv::PanelBox* box : kv::kPanelBoxes) t.*(box->text) = std::string(box->start_text);
  return t;
}

kv::SweepRequest one_cell(kv::SweepKind kind) {
  kv::SweepRequest r;
  r.base = startup_panel();
  r.x = {&kv::kDriveAmplitudeBox, 0.0005306, 0.0005306, 1};
  r.transient = kTransient;
  r.kept = kKept;
  r.kind = kind;
  r.threads = 1;
  return r;
}

// One cell of the request, as a sweep computes it.
std::size_t run_cell(const kv::SweepRequest& r) {
  std::size_t n = 0;
  kv::compute_unit(
      r, 0, [&n](kv::SweepCell&& c) { n += c.points.size() + (c.state == kv::CellState::ok); }, {});
  return n;
}

// kestavor-cli simulate --poincare T+K on the state groups a window starts with.
struct SimulateRun {
  kv::ComputerClock clock;
  std::string path = (std::filesystem::temp_directory_path() / "kestavor_bench_sweep.poi").string();

  bool run() {
    kv::SimulationState sim;
    kv::set_default_parameters(sim);
    kv::PlotState plots;
    kv::SaveState save;
    kv::FileTable files;
    kv::DataSaveFile file(save, files);
    kv::DecoderState point;
    const kv::SimContext c{sim, plots, save, file, clock, point};
    kv::SimRequest q;
    q.panel = startup_panel();
    q.options.computer_time = true;
    q.options.poincare_file = true;
    q.points = static_cast<kv::i32>(kTransient + kKept);
    q.path = path;
    kv::RunToEnd run;
    return kv::simulate(c, q, run).done();
  }
  ~SimulateRun() { std::remove(path.c_str()); }
};

// The bare steps of a cell: sim_step until T + K Poincare points, nothing kept.
void bare_steps() {
  kv::SimParameters p;
  static_cast<kv::PendulumParameters&>(p) = kv::startup_pendulum();
  p.drive_torque = 0.0005306;
  kv::derive_values(p);
  kv::SimPendulum s;
  s.model.q_factor = p.q_factor;
  s.model.drive_amplitude = p.drive_amplitude;
  s.model.drive_frequency = p.drive_frequency;
  s.h = 0.002 * p.omega0;
  s.angle = 1.0;
  s.velocity = 1.0 / p.omega0;
  for (std::int64_t n = 0; n < kTransient + kKept;) {
    const kv::SimSample smp = kv::sim_step(
        s, static_cast<kv::i64>(kv::round_half_even(s.model.sim_time / p.omega0 * 1000)));
    n += smp.poincare_event;
  }
  benchmark::DoNotOptimize(s.angle);
}

void BM_OrbitCell(benchmark::State& state) {
  const kv::SweepRequest r = one_cell(kv::SweepKind::orbit);
  SimulateRun simulate;
  double cell = 0, sim = 0, bare = 0;
  for (auto _ : state) {
    const double t0 = thread_cpu_seconds();
    benchmark::DoNotOptimize(run_cell(r));
    cell += thread_cpu_seconds() - t0;
    state.PauseTiming();
    const double t1 = thread_cpu_seconds();
    if (!simulate.run()) state.SkipWithError("the simulation did not save its points");
    const double t2 = thread_cpu_seconds();
    bare_steps();
    sim += t2 - t1;
    bare += thread_cpu_seconds() - t2;
    state.ResumeTiming();
  }
  state.counters["vs_simulate"] = cell / sim;
  state.counters["vs_bare"] = cell / bare;
}
BENCHMARK(BM_OrbitCell)->Unit(benchmark::kMillisecond);

void BM_LyapunovCell(benchmark::State& state) {
  const kv::SweepRequest map = one_cell(kv::SweepKind::lyapunov);
  const kv::SweepRequest orbit = one_cell(kv::SweepKind::orbit);
  double lyapunov = 0, plain = 0;
  for (auto _ : state) {
    const double t0 = thread_cpu_seconds();
    benchmark::DoNotOptimize(run_cell(map));
    lyapunov += thread_cpu_seconds() - t0;
    state.PauseTiming();
    const double t1 = thread_cpu_seconds();
    benchmark::DoNotOptimize(run_cell(orbit));
    plain += thread_cpu_seconds() - t1;
    state.ResumeTiming();
  }
  state.counters["vs_orbit_cell"] = lyapunov / plain;
}
BENCHMARK(BM_LyapunovCell)->Unit(benchmark::kMillisecond);

// A sweep of 16 values on state.range(0) threads, rows formatted as the file's.
void BM_Sweep(benchmark::State& state) {
  kv::SweepRequest r = one_cell(kv::SweepKind::orbit);
  r.x = {&kv::kDriveAmplitudeBox, 0.0004, 0.0008, 16};
  r.threads = static_cast<unsigned>(state.range(0));
  kv::RunToEnd run;
  for (auto _ : state) {
    std::size_t points = 0;
    kv::run_sweep(r, run, [&points](const kv::SweepCell& c) {
      points += c.points.size();
      return true;
    });
    benchmark::DoNotOptimize(points);
  }
  state.SetItemsProcessed(state.iterations() * 16);
}
BENCHMARK(BM_Sweep)->ArgName("threads")->Arg(1)->Arg(2)->UseRealTime()->Unit(
    benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
