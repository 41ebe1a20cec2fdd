// kestavor-cli spectrum: the "FFT" command without a window. The arguments fill the
// request (the orbit file, the window, the number of segments, by default the number the
// file offers, and the output path) and the window's engine runs it.
#include <algorithm>
#include <iostream>
#include <limits>

#include "chaos/chaos_state.h"
#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "datafiles/save_state.h"
#include "fft/get_fft_data.h"
#include "fft/spectrum_state.h"
#include "fft/windows.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"

namespace kv::cli {
namespace {

struct Arguments {
  SpectrumRequest request;
  std::string window;
  bool quiet = false;
} opt;

void declare(Options& o) {
  o.file(opt.request.orbit_path, "FILE.pha", "the orbit file");
  o.one_of("--window", opt.window, "WINDOW",
           std::vector<std::string>(std::begin(kWindowNames), std::end(kWindowNames)),
           "the FFT window (any case)", true);
  o.count("--segments", opt.request.segments, "S", 1, std::numeric_limits<std::int64_t>::max(),
          "segments to average (default: every whole one the file holds)");
  o.output(opt.request.output, "OUT.fft");
  o.flag("--quiet", opt.quiet, "show no progress line");
}

int run() {
  SpectrumRequest& request = opt.request;
  if (same_file(request.output, request.orbit_path))
    return usage_error("-o " + request.output +
                       " names the orbit file; nothing was read or written");
  request.window =
      static_cast<int>(std::find(std::begin(kWindowNames), std::end(kWindowNames), opt.window) -
                       std::begin(kWindowNames));
  const bool quiet = opt.quiet;

  PlotState plots;
  SpectrumState spectrum;
  ChaosState chaos;
  SaveState save;
  FileTable files;
  SignalRunControl run;
  run.show_progress("segments", quiet);
  const SpectrumResult result = run_spectrum({plots, spectrum, chaos, save, files}, request, run);
  run.end_progress();
  if (run.signal() != 0) {
    std::cerr << "kestavor-cli: interrupted: the Lyapunov estimate was stopped\n";
    return run.exit_status();
  }
  if (!result.done()) {
    std::cerr << "kestavor-cli: " << result.reason << "\n";
    return exit_status(result);
  }
  if (run.shows_progress())
    std::cerr << request.output << ": " << spectrum.window << " window, " << result.segments
              << " segment(s) averaged\n";
  return 0;
}

Register reg{{"spectrum", "averaged power spectrum of an orbit file, written as a *.fft file",
              declare, run}};

}  // namespace
}  // namespace kv::cli
