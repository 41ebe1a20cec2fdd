// kestavor-cli spectrum: the "FFT" command without a window. The arguments fill the
// request (the orbit file, the window, the number of segments, by default the number the
// file offers, and the output path) and the window's engine runs it.
#include <cctype>
#include <iostream>

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

int window_index(const std::string& name) {
  for (int i = 0; i < 4; ++i) {
    const std::string_view w = kWindowNames[i];
    if (w.size() != name.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < w.size(); ++k)
      if (std::tolower(static_cast<unsigned char>(w[k])) !=
          std::tolower(static_cast<unsigned char>(name[k])))
        same = false;
    if (same) return i;
  }
  return -1;
}

int run(const std::vector<std::string>& args) {
  SpectrumRequest request;
  std::string window;
  bool quiet = false;
  ArgReader in(args);
  while (in.next()) {
    const std::string& a = in.arg();
    if (a == "--window") {
      window = in.value();
    } else if (a == "--segments") {
      const std::string& text = in.value();
      if (in.failed()) break;
      const Count s = parse_count(a, text);
      if (!s.error.empty()) return fail(s.error);
      if (s.value < 1) return fail("--segments must be 1 or more");
      request.segments = s.value;
    } else if (a == "--quiet") {
      quiet = true;
    } else if (a == "-o") {
      request.output = in.value();
    } else if (!a.empty() && a[0] == '-') {
      return fail("unknown option " + a);
    } else if (request.orbit_path.empty()) {
      request.orbit_path = a;
    } else {
      return fail("more than one orbit file given");
    }
  }
  if (in.failed()) return fail(in.error());
  if (request.orbit_path.empty()) return fail("spectrum needs an orbit file (FILE.pha)");
  if (window.empty()) return fail("spectrum needs --window Parzen|Hanning|Welch|Square");
  if (request.output.empty()) return fail("spectrum needs -o OUT.fft");
  if (same_file(request.output, request.orbit_path))
    return fail("-o " + request.output + " names the orbit file; nothing was read or written");
  request.window = window_index(window);
  if (request.window < 0)
    return fail("unknown window \"" + window + "\" (Parzen, Hanning, Welch, Square)");

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
  std::cout << request.output << ": " << spectrum.window << " window, " << result.segments
            << " segment(s) averaged\n";
  return 0;
}

Register reg{{"spectrum",
              "FILE.pha --window Parzen|Hanning|Welch|Square [--segments S] -o OUT.fft [--quiet]",
              "averaged power spectrum of an orbit file, written as a *.fft file", run}};

}  // namespace
}  // namespace kv::cli
