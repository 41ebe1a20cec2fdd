// Spectral analysis benchmarks over a simulated 1,000,000-record orbit file (about 28 MB):
// the parse rate of the orbit-file reader (target: 100 MB/s or more), the spectrum of 27
// averaged segments from the file on disk (target: under 0.5 s), the Lyapunov estimate
// with HALT polled for every candidate (target: under 0.1 s), and the whole "FFT" command.
//
// The orbit file is left at $KV_BENCH_ORBIT or <tmp>/kestavor-bench-1m.pha, so that
// bench/numpy_spectrum.py can time a NumPy pipeline over the very same file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/commands/commands.h"
#include "app/commands/lyapunov_display.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "bench/orbit_file_gen.h"
#include "chaos/lyapunov.h"
#include "chaos/lyapunov_estimate.h"
#include "datafiles/orbit_reader.h"
#include "fft/segment_average.h"
#include "fft/windows.h"
#include "platform/input_file.h"
#include "platform/text_files.h"
#include "tests/support/scripted_services.h"

namespace {

constexpr long kRecords = 1000000;

struct OrbitFile {
  std::string path;
  std::string text;
};

const OrbitFile& orbit_file() {
  static const OrbitFile file = [] {
    OrbitFile f;
    const char* env = std::getenv("KV_BENCH_ORBIT");
    f.path = env && *env
                 ? env
                 : (std::filesystem::temp_directory_path() / "kestavor-bench-1m.pha").string();
    f.text = kv::bench::simulated_orbit_text(kRecords);
    if (std::FILE* out = std::fopen(f.path.c_str(), "wb")) {
      std::fwrite(f.text.data(), 1, f.text.size(), out);
      std::fclose(out);
    }
    std::fprintf(stderr, "orbit file: %s (%zu bytes, %ld records)\n", f.path.c_str(), f.text.size(),
                 kRecords);
    return f;
  }();
  return file;
}

void BM_ParseOrbitText(benchmark::State& state) {
  const std::string& text = orbit_file().text;
  for (auto _ : state) {
    kv::OrbitReader in(text);
    double n;
    std::string word;
    in.read_number(n);
    in.read_word(word);
    float v = 0, sum = 0;
    while (in.read_velocity(v) == kv::OrbitReader::Status::ok) sum += v;
    benchmark::DoNotOptimize(sum);
    if (in.records() != kRecords) state.SkipWithError("records missing");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseOrbitText)->Unit(benchmark::kMillisecond);

// What the spectrum command does between the open dialog and the plot: open the file
// (mapped), read its header and average 27 segments (995,814 records) with the Hanning
// window.
void BM_Spectrum27SegmentsFromFile(benchmark::State& state) {
  const std::string& path = orbit_file().path;
  auto work = std::make_unique<kv::FftArrays>();
  std::vector<float> spectrum(2049);
  std::string error;
  std::size_t bytes = 0;
  for (auto _ : state) {
    kv::InputFile file;
    if (!file.open(path, error)) state.SkipWithError(error.c_str());
    bytes = file.contents().size();
    kv::OrbitReader in(file);
    double n;
    std::string word;
    in.read_number(n);
    in.read_word(word);
    std::fill(spectrum.begin(), spectrum.end(), 0.0f);
    if (kv::average_segments(in, kv::offered_maximum(static_cast<kv::i32>(n)), 1, *work,
                             spectrum.data()) != kv::OrbitReader::Status::ok)
      state.SkipWithError("segments missing");
    benchmark::DoNotOptimize(spectrum.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_Spectrum27SegmentsFromFile)->Unit(benchmark::kMillisecond);

void BM_WindowAndPowerSpectrum2048(benchmark::State& state) {
  auto work = std::make_unique<kv::FftArrays>();
  for (int j = 0; j <= 2048; ++j) work->data_re[j] = (j * 7919 % 1000) / 500.0 - 1;
  for (auto _ : state) {
    kv::winn(*work, 2048, 1);
    kv::power_spectrum(*work, 2048, 0.05f);
    benchmark::DoNotOptimize(work->fft_re[10]);
    for (int j = 0; j <= 2048; ++j) work->data_re[j] = work->fft_re[j & 1023];
  }
}
BENCHMARK(BM_WindowAndPowerSpectrum2048)->Unit(benchmark::kMicrosecond);

// The full estimate (24 steps, every search) on the file's series, with HALT polled through
// the program's own halt_button for every candidate.
class HaltPolling : public kv::LyapunovHooks {
 public:
  explicit HaltPolling(kv::Form1& f) : f_(f) {}
  bool halt() override {
    ++polls;
    return kv::halt_button(f_);
  }
  long polls = 0;

 private:
  kv::Form1& f_;
};

void BM_LyapunovEstimateWithHaltPolling(benchmark::State& state) {
  kv::OrbitReader in(orbit_file().text);
  std::string word;
  in.read_word(word);
  in.read_word(word);
  std::vector<float> series(11801, 0.0f);
  float v = 0;
  for (int i = 1; i <= 12000; ++i) {
    in.read_velocity(v);
    if (i > 200) series[i - 200] = v;
  }
  kv::ScriptedServices s;
  kv::Form1 f(s.services());
  long polls = 0;
  int steps = 0;
  for (auto _ : state) {
    HaltPolling hooks(f);
    const kv::LyapunovEstimate est = kv::estimate_lyapunov(series, kv::LyapunovParams{}, hooks);
    benchmark::DoNotOptimize(est.exponent);
    polls = hooks.polls;
    steps = est.steps;
  }
  state.counters["halt_polls"] = static_cast<double>(polls);
  state.counters["steps"] = steps;
}
BENCHMARK(BM_LyapunovEstimateWithHaltPolling)->Unit(benchmark::kMillisecond);

// The Lyapunov estimate of a file as the window runs it: read it, fill the series,
// estimate with the progress marks and HALT polled, show the result.
void BM_LyapunovCommand(benchmark::State& state) {
  const std::string& path = orbit_file().path;
  kv::ScriptedServices s;
  kv::Form1 f(s.services());
  for (auto _ : state) {
    kv::WindowRunControl control(f);
    const kv::LyapunovRun run = kv::lyapunov_command(f, path, control);
    if (!run.done()) state.SkipWithError("no estimate");
  }
}
BENCHMARK(BM_LyapunovCommand)->Unit(benchmark::kMillisecond);

// "FFT", Hanning, 27 segments, plot and Lyapunov estimate; the save is declined.
void BM_FftCommand(benchmark::State& state) {
  const std::string& path = orbit_file().path;
  kv::ScriptedServices s;
  kv::Form1 f(s.services());
  for (auto _ : state) {
    s.dialogs.open_answers = {path};
    s.dialogs.input_answers = {"27"};
    kv::Text15_Click(f);
    f.ui.set_value(kv::Ctl::List1, 1);
    kv::List1_Click(f);
    if (f.cnt != 465) state.SkipWithError("nothing drawn");
  }
}
BENCHMARK(BM_FftCommand)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
