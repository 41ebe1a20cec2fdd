// Benchmarks of the last three commands:
//   Dimension of 5000 Poincare points, in process (target: under 5 ms);
//   Plot file of a simulated 1,000,000-record orbit file, headless (target: at least
//     2 M records/s; the "records/s" counter);
//   Print to PDF of a page with 1,000,000 stored points (target: under 1 s), and the same
//     page as a PNG picture at 150 dpi.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/state/form1.h"
#include "bench/orbit_file_gen.h"
#include "chaos/dimension.h"
#include "datafiles/data_lines.h"
#include "fft/plot_file.h"
#include "print/page.h"
#include "tests/support/scripted_services.h"
#ifdef KV_BENCH_QT_PRINT
#include "print/qt/qt_printers.h"
#endif

namespace {

constexpr long kRecords = 1000000;

std::string temp_file(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

void write_file(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

const std::string& orbit_path() {
  static const std::string path = [] {
    const std::string p = temp_file("kestavor-bench-plotfile-1m.pha");
    write_file(p, kv::bench::simulated_orbit_text(kRecords));
    return p;
  }();
  return path;
}

const std::string& poincare_path() {
  static const std::string path = [] {
    std::string text = kv::format_print_integer(5000) + "\r\nPOINCARE\r\n";
    char line[160];
    for (int k = 0; k < 5000; ++k) {
      // A folded, chaotic-looking section: points along a curve with a spread.
      const double phi = std::fmod(k * 2.399963, 6.2831853) - 3.1415926;
      const double v = 15 * std::sin(2 * phi + k * 0.001) + 3 * std::cos(k * 0.37);
      text.append(line, kv::format_sim_poincare_line(line, phi, v));
      text += "\r\n";
    }
    const std::string p = temp_file("kestavor-bench-dimension.poi");
    write_file(p, text);
    return p;
  }();
  return path;
}

void BM_Dimension5000(benchmark::State& state) {
  kv::ScriptedServices s;
  kv::Form1 f(s.services());
  kv::RunToEnd run;
  for (auto _ : state) {
    const auto out = kv::capacity_dimension_of_file(f, {poincare_path()}, run);
    benchmark::DoNotOptimize(out.dimension);
  }
}
BENCHMARK(BM_Dimension5000)->Unit(benchmark::kMillisecond);

// The counting alone: 5000 points marked at nine levels, the boxes counted and the slope
// fitted (the rest of the command is reading the file and drawing the points).
void BM_DimensionCount5000(benchmark::State& state) {
  std::vector<std::pair<int, double>> points;
  for (int k = 0; k < 5000; ++k)
    points.push_back({(k * 2399) % 4000, 15 * std::sin(k * 0.37) + 3 * std::cos(k * 0.11)});
  kv::BoxCounter boxes;
  for (auto _ : state) {
    boxes.clear();
    for (const auto& [c, v] : points) boxes.mark(c, v);
    benchmark::DoNotOptimize(kv::capacity_dimension(boxes.totals()));
  }
}
BENCHMARK(BM_DimensionCount5000)->Unit(benchmark::kMicrosecond);

void BM_PlotFileOrbit1M(benchmark::State& state) {
  kv::ScriptedServices s;
  kv::Form1 f(s.services());
  kv::RunToEnd run;
  const std::string& path = orbit_path();
  std::int64_t records = 0;
  for (auto _ : state) {
    const auto out = kv::plot_file({f, f, f, f}, {path, 0}, run);
    records += out.records;
  }
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlotFileOrbit1M)->Unit(benchmark::kMillisecond)->UseRealTime();

#ifdef KV_BENCH_QT_PRINT
// A form whose tables hold 1,000,000 phase points and 1,000,000 Poincare points.
kv::Form1& full_form() {
  static kv::ScriptedServices s;
  static kv::Form1 f(s.services());
  static bool filled = [] {
    for (int i = 1; i <= 1000000; ++i) {
      f.orbit_points.at(i, 1) = static_cast<int>(2900 * std::sin(i * 0.0137));
      f.orbit_points.at(i, 2) = static_cast<int>(2900 * std::cos(i * 0.0091 + std::sin(i * 1e-4)));
      f.poincare_points.at(i, 1) = static_cast<kv::i16>(2900 * std::sin(i * 0.77));
      f.poincare_points.at(i, 2) = static_cast<kv::i16>(1500 * std::sin(i * 1.31));
    }
    f.cnt = 1000000;
    f.poincare_cnt = 1000000;
    return true;
  }();
  (void)filled;
  return f;
}

void BM_PrintPdf1M(benchmark::State& state) {
  kv::GuiForPrinting gui;
  kv::Form1& f = full_form();
  const std::string path = temp_file("kestavor-bench-page.pdf");
  for (auto _ : state) {
    std::string why;
    auto page = kv::open_pdf_page(path, why);
    const auto out = kv::print_page(f, f, f, *page);
    if (out.status != kv::Status::done) state.SkipWithError(out.reason.c_str());
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_PrintPdf1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_PrintPng1M(benchmark::State& state) {
  kv::GuiForPrinting gui;
  kv::Form1& f = full_form();
  const std::string path = temp_file("kestavor-bench-page.png");
  for (auto _ : state) {
    std::string why;
    auto page = kv::open_png_page(path, why);
    const auto out = kv::print_page(f, f, f, *page);
    if (out.status != kv::Status::done) state.SkipWithError(out.reason.c_str());
  }
}
BENCHMARK(BM_PrintPng1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
#endif

}  // namespace

BENCHMARK_MAIN();
