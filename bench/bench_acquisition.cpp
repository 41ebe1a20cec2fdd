// Acquisition engine throughput: passes per second of get_data from a replay box held in
// memory, drawing on the picture surfaces and writing an orbit recording.
//
//   BM_AcquisitionHeadless  scripted services (no window); target >= 500,000 passes/s
//   BM_AcquisitionWindow    the Qt window shown (offscreen platform is fine); target
//                           >= 100,000 passes/s; built when the window is available
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "acquisition/get_data.h"
#include "acquisition/replay_box.h"
#include "app/commands/collect_data.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "datafiles/save_file.h"
#include "plot/phase_plot.h"
#include "plot/poincare_plot.h"
#include "simulation/demo_box.h"
#include "tests/support/scripted_services.h"

#if __has_include("app/window/main_window.h") && __has_include(<QApplication>)
#define KV_BENCH_WINDOW 1
#include <QApplication>

#include "app/window/main_window.h"
#include "platform/qt/qt_services.h"
#endif

namespace {

constexpr long kRecords = 200000;

// Records of the demo pendulum (chaotic motion, a marker once per drive cycle).
const std::string& demo_records() {
  static const std::string data = [] {
    kv::DemoBox box(false);
    std::string s;
    s.reserve(kRecords * 6);
    kv::SampleRecord r{};
    for (long i = 0; i < kRecords; ++i) {
      box.read(r, 0);
      s.append(reinterpret_cast<const char*>(r.data()), r.size());
    }
    return s;
  }();
  return data;
}

// Runs the whole replay once per iteration as an orbit recording of more points than it
// holds, so every pass draws, stores and writes a line.
void run_recording(benchmark::State& state, kv::Form1& f) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "kv_bench_acquisition.pha").string();
  auto owned = std::make_unique<kv::ReplayBox>(demo_records(), "benchmark records");
  kv::ReplayBox* box = owned.get();
  f.device = std::move(owned);
  kv::grid(f);
  kv::setup_phase_plot(f);
  for (auto _ : state) {
    box->rewind();
    if (!kv::open_save_file(f, path, 2000000000, "PHASE")) {
      state.SkipWithError("cannot create the benchmark's file");
      return;
    }
    f.saving = kv::kTrue;
    f.saving_orbit = kv::kTrue;
    f.number_of_points = 2000000000;
    // HALT and Clear polled, and progress shown, as in the window's "Save orbit".
    kv::WindowRunControl run(f, [&path](std::int64_t done, std::int64_t total) {
      return kv::recording_progress_text(path, done, total);
    });
    const kv::RunEnd end = kv::get_data(kv::acquisition_context(f), run);
    kv::discard_save_file(f);
    f.saving = kv::kFalse;
    if (end != kv::RunEnd::EndOfData) state.SkipWithError("the run did not reach the end");
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  state.counters["passes/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kRecords), benchmark::Counter::kIsRate);
}

void BM_AcquisitionHeadless(benchmark::State& state) {
  kv::ScriptedServices s;
  auto f = std::make_unique<kv::Form1>(s.services());
  run_recording(state, *f);
}
BENCHMARK(BM_AcquisitionHeadless)->Unit(benchmark::kMillisecond)->UseRealTime();

#ifdef KV_BENCH_WINDOW
void BM_AcquisitionWindow(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "bench_acquisition";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  static QApplication app(argc, argv);
  kv::QtServices qs;
  auto f = std::make_unique<kv::Form1>(qs.services());
  kv::MainWindow window(*f);
  window.show();
  window.run_command([&] { run_recording(state, *f); });
}
BENCHMARK(BM_AcquisitionWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
#endif

}  // namespace

BENCHMARK_MAIN();
