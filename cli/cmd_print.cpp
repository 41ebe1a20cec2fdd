// kestavor-cli print: draws a file as "Plot file" does and writes the page "Print" makes,
// as a PDF file or as a PNG picture at 150 dpi. The pages are drawn through Qt, in the
// module kestavor-print.so loaded only by this command (beside the program in the build
// folder, in lib/.../kestavor when installed); a build without the window has none, and the
// command then says so.
#include <algorithm>
#include <cctype>
#include <iostream>

#include "chaos/chaos_state.h"
#include "cli/cli_registry.h"
#include "cli/progress_line.h"
#include "datafiles/save_state.h"
#include "fft/plot_file.h"
#include "fft/spectrum_state.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
#include "plot/range_control.h"
#include "print/page.h"
#ifdef KV_HAVE_QT_PRINT
#include "cli/page_module.h"
#endif

namespace kv::cli {
namespace {

std::string lower_extension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = path.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

struct Arguments {
  std::string path, output;
  int range = 0, revolutions = 0;
} opt;

void declare(Options& o) {
  o.file(opt.path, "FILE", "the file to print: orbit, Poincare or spectrum");
  std::vector<int> ranges, revolutions;
  for (int v = 0; v <= 5; ++v) {
    ranges.push_back(v == 0 ? 0 : 1 << v);
    revolutions.push_back(revolutions_for_value(v));
  }
  o.one_of("--range", opt.range, "R", ranges, "the phase plot's range R (default 0)");
  o.one_of("--revolutions", opt.revolutions, "N", revolutions,
           "the phase plot's range as the revolutions it spans, as the window shows it");
  o.exclusive("--range", "--revolutions");
  o.output(opt.output, "PAGE.pdf|PAGE.png");
}

int run() {
  const std::string& path = opt.path;
  const std::string& output = opt.output;
  int range = range_value_for_cycles(opt.range);
  if (opt.revolutions != 0)
    for (int v = 0; v <= 5; ++v)
      if (revolutions_for_value(v) == opt.revolutions) range = v;
  if (same_file(output, path))
    return usage_error("-o " + output + " names the file to print; nothing was read or written");
  const std::string ext = lower_extension(output);
  if (ext != ".pdf" && ext != ".png")
    return usage_error("-o: the page is written as .pdf or .png, not " + output);
#ifndef KV_HAVE_QT_PRINT
  (void)range;
  return failed("print is not available in this build (it needs the Qt printing support)");
#else
  PlotState plots;
  SpectrumState spectrum;
  ChaosState chaos;
  SaveState save;
  RunToEnd run_to_end;
  const PlotFileOutcome plotted =
      plot_file({plots, spectrum, chaos, save}, PlotFileRequest{path, range}, run_to_end);
  if (!plotted.done()) {
    std::cerr << "kestavor-cli: " << plotted.reason << "\n";
    return exit_status(plotted);
  }
  if (!page_has_content(plots, spectrum)) {
    std::cerr << "kestavor-cli: " << path << " holds no points: there is nothing to print.\n";
    return 1;
  }
  std::string why_not;
  const auto write_page =
      reinterpret_cast<KvWritePage>(load_page_module_entry(kPageModuleEntry, why_not));
  PrintOutcome printed;
  if (!write_page || !write_page(plots, spectrum, chaos, ext == ".pdf", output, why_not, printed)) {
    std::cerr << "kestavor-cli: " << why_not << "\n";
    return 1;
  }
  if (!printed.done()) {
    std::cerr << "kestavor-cli: " << printed.reason << "\n";
    return exit_status(printed);
  }
  if (stderr_is_terminal())
    std::cerr << output << ": " << (spectrum.FFT_flag ? "spectrum page" : "phase page") << " of "
              << path << "\n";
  return 0;
#endif
}

Register reg{{"print",
              "draws a file as Plot file does and writes the printed page as PDF or PNG (150 dpi)",
              declare, run}};

}  // namespace
}  // namespace kv::cli
