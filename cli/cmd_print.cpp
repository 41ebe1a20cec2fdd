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
#include "datafiles/save_state.h"
#include "fft/plot_file.h"
#include "fft/spectrum_state.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
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

int run(const std::vector<std::string>& args) {
  std::string path, output;
  int range = 0;
  ArgReader in(args);
  while (in.next()) {
    const std::string& a = in.arg();
    if (a == "--range") {
      const std::string& text = in.value();
      if (in.failed()) break;
      const Count count = parse_count(a, text);
      if (!count.error.empty()) return fail(count.error);
      const long long r = count.value;
      range = range_value_for_cycles(r >= 0 && r <= 32 ? static_cast<int>(r) : -1);
      if (range < 0) return fail("--range must be 0, 2, 4, 8, 16 or 32");
    } else if (a == "-o") {
      output = in.value();
    } else if (!a.empty() && a[0] == '-') {
      return fail("unknown option " + a);
    } else if (path.empty()) {
      path = a;
    } else {
      return fail("more than one file given");
    }
  }
  if (in.failed()) return fail(in.error());
  if (path.empty()) return fail("print needs a file (FILE.pha, FILE.poi or FILE.fft)");
  if (output.empty()) return fail("print needs -o PAGE.pdf or -o PAGE.png");
  if (same_file(output, path))
    return fail("-o " + output + " names the file to print; nothing was read or written");
  const std::string ext = lower_extension(output);
  if (ext != ".pdf" && ext != ".png")
    return fail("the page is written as .pdf or .png, not " + output);
#ifndef KV_HAVE_QT_PRINT
  (void)range;
  return fail("print is not available in this build (it needs the Qt printing support)");
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
  std::cout << output << ": " << (spectrum.FFT_flag ? "spectrum page" : "phase page") << " of "
            << path << "\n";
  return 0;
#endif
}

Register reg{{"print", "FILE [--range R] -o PAGE.pdf|PAGE.png",
              "draws a file as Plot file does and writes the printed page as PDF or PNG (150 dpi)",
              run}};

}  // namespace
}  // namespace kv::cli
