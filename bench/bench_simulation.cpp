// Speed of the simulation: the bare integrator (advance_step) and the whole "Computer
// time" run of "Continue" without a window, drawing on the offscreen plots and writing an
// orbit file, and (in a build with the window) the same run with the window shown. All
// report steps per second (items_per_second); the run should reach at least 60 % of the
// bare integrator's rate headless and 30 % with the window shown. As the machine's load
// changes the rates from one run to the next, each run benchmark also times the same number
// of bare steps between its iterations and reports its rate as a share of that
// (vs_bare, from thread CPU time).
#include <benchmark/benchmark.h>

#include <time.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/commands/commands.h"
#include "app/state/form1.h"
#include "simulation/model.h"
#include "simulation/sim_panel.h"
#include "tests/support/scripted_services.h"

#if __has_include("app/window/main_window.h") && __has_include(<QApplication>)
#define KV_BENCH_WINDOW 1
#include <QApplication>
#include <QWindow>
#include <chrono>

#include "app/window/main_window.h"
#include "platform/qt/qt_services.h"
#endif

namespace {

// The bare integrator with the default panel's parameters, as the run steps it. The state
// is stepped in locals and only read back through DoNotOptimize on copies: marking the
// members themselves let the compiler store a stale copy back, and the state ran off to
// velocities of 1e159, where every sine takes the library's slow path.
struct BareStepper {
  kv::DerivedParameters d = kv::derive(kv::PendulumParameters{});
  kv::PendulumModel m;
  double angle = 1.0, velocity = 1.0 / d.omega0, t = 0;

  BareStepper() {
    m.q_factor = d.q_factor;
    m.drive_amplitude = d.drive_amplitude;
    m.drive_frequency = d.drive_frequency;
  }
  void step() {
    double a = angle, v = velocity;
    m.advance_step(t, a, v, d.h);
    // The run keeps the angle within one turn; so do we, for the same sine arguments.
    if (a > 6.2831854) a -= 6.2831854;
    if (a < 0) a += 6.2831854;
    if (m.sim_time > 100000.0f) m.sim_time = 0;
    angle = a;
    velocity = v;
    double seen_a = a, seen_v = v;
    benchmark::DoNotOptimize(seen_a);
    benchmark::DoNotOptimize(seen_v);
  }
  // The default pendulum never turns faster than a few radians per unit time.
  bool bounded() const {
    return std::isfinite(angle) && std::isfinite(velocity) && std::fabs(velocity) < 10;
  }
};

double thread_cpu_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Accumulates thread CPU time of the runs and of as many bare steps, for vs_bare.
struct BareComparison {
  BareStepper bare;
  double run_cpu = 0, bare_cpu = 0;

  template <typename Run>
  void run(benchmark::State& state, int steps, Run&& body) {
    const double t0 = thread_cpu_seconds();
    body();
    run_cpu += thread_cpu_seconds() - t0;
    state.PauseTiming();
    const double t1 = thread_cpu_seconds();
    for (int i = 0; i < steps; ++i) bare.step();
    bare_cpu += thread_cpu_seconds() - t1;
    state.ResumeTiming();
  }
  void report(benchmark::State& state) const {
    if (!bare.bounded()) state.SkipWithError("the bare steps left the pendulum's range");
    if (run_cpu > 0) state.counters["vs_bare"] = bare_cpu / run_cpu;
  }
};

void BM_AdvanceStep(benchmark::State& state) {
  BareStepper bare;
  for (auto _ : state) bare.step();
  if (!bare.bounded()) state.SkipWithError("the stepped state left the pendulum's range");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AdvanceStep);

// One "Continue" with "Computer time" and "Phase plot" checked saving `points` lines: that
// is points + 1 steps, each drawn, stored and (but the first) written to the file.
void BM_ComputerTimeRun(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const std::string path =
      (std::filesystem::temp_directory_path() / "kestavor_bench_simulation.pha").string();
  kv::ScriptedServices s;
  kv::Form1 f(s.services());
  kv::set_default_parameters(f);
  kv::Text9_Click(f);
  f.ui.set_checked(kv::Ctl::Check2, true);
  kv::Check2_Click(f);
  f.ui.set_checked(kv::Ctl::Check3, true);
  kv::Check3_Click(f);
  BareComparison cmp;
  for (auto _ : state) {
    s.dialogs.input_answers.push_back(std::to_string(points));
    s.dialogs.save_answers.push_back(path);
    cmp.run(state, points + 1, [&] { kv::Command21_Click(f); });
    if (f.cnt != points + 1 || !s.dialogs.save_answers.empty()) {
      state.SkipWithError("the run did not save the requested points");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * (points + 1));
  cmp.report(state);
  std::remove(path.c_str());
}
BENCHMARK(BM_ComputerTimeRun)->Arg(200000)->Unit(benchmark::kMillisecond);

#ifdef KV_BENCH_WINDOW
// The same run from the shown window (offscreen platform): the run pumps the window once
// per screen frame through its HALT poll, and the phase plot is repainted when refreshed.
void BM_ComputerTimeRunWindowShown(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const std::string path =
      (std::filesystem::temp_directory_path() / "kestavor_bench_simulation_window.pha").string();
  static int argc = 1;
  static char name[] = "bench_simulation";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  kv::QtServices qt;
  kv::ScriptedDialogs dialogs;
  kv::RecordingHelpViewer help;
  kv::Form1 f(kv::Services{dialogs, qt.pump, qt.clock, help, qt.pump, qt.timer1});
  kv::MainWindow w(f);
  w.resize(1024, 768);
  w.show();
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!(w.windowHandle() && w.windowHandle()->isExposed()) &&
         std::chrono::steady_clock::now() < give_up)
    QApplication::processEvents();
  if (!(w.windowHandle() && w.windowHandle()->isExposed())) {
    state.SkipWithError("the window was not shown");
    return;
  }
  dialogs.yes_no_answers.push_back(false);
  w.start(nullptr);
  w.run_command([&] {
    kv::Text9_Click(f);
    f.ui.set_checked(kv::Ctl::Check2, true);
    kv::Check2_Click(f);
    f.ui.set_checked(kv::Ctl::Check3, true);
    kv::Check3_Click(f);
  });
  BareComparison cmp;
  for (auto _ : state) {
    dialogs.input_answers.push_back(std::to_string(points));
    dialogs.save_answers.push_back(path);
    cmp.run(state, points + 1, [&] { w.run_command([&] { kv::Command21_Click(f); }); });
    if (f.cnt != points + 1 || !dialogs.save_answers.empty()) {
      state.SkipWithError("the run did not save the requested points");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * (points + 1));
  cmp.report(state);
  std::remove(path.c_str());
}
BENCHMARK(BM_ComputerTimeRunWindowShown)->Arg(200000)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
