// print_page: a file drawn as "Plot file" draws it and the page "Print" makes of it, written
// as PDF or PNG by the page module kestavor-print.so (the one kestavor-cli print loads), found
// beside the build's kestavor-cli or in the installed library folder.
#include <dlfcn.h>

#include <filesystem>

#include "chaos/chaos_state.h"
#include "datafiles/save_state.h"
#include "fft/plot_file.h"
#include "fft/spectrum_state.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
#include "print/page.h"
#include "print/page_module.h"
#include "print/page_module_open.h"
#include "python/binding.h"

namespace kv::python {

namespace {

// The page module's entry: tried from this module's folder at the page module's place in
// the build folder, then at its installed place.
KvWritePage page_writer(std::string& why_not) {
  Dl_info self{};
  if (!dladdr(reinterpret_cast<void*>(&page_writer), &self) || !self.dli_fname) {
    why_not = "the Python module cannot tell its own folder";
    return nullptr;
  }
  const std::filesystem::path dir = std::filesystem::path(self.dli_fname).parent_path();
  std::string tried;
  if (void* entry = open_page_module({dir / KV_PAGE_MODULE_FROM_BUILD / kPageModuleName,
                                      dir / KV_PAGE_MODULE_FROM_INSTALL / kPageModuleName},
                                     kPageModuleEntry, tried, why_not))
    return reinterpret_cast<KvWritePage>(entry);
  if (!why_not.empty()) return nullptr;
  why_not = "printing needs the page module of the kestavor package (" + tried + ")";
  return nullptr;
}

std::string print_page_of(const std::string& path, int range, bool pdf, const std::string& output) {
  const int range_value = range_value_for_cycles(range);
  if (range_value < 0)
    throw std::invalid_argument("range must be 0, 2, 4, 8, 16 or 32, not " + std::to_string(range));
  if (same_file(output, path))
    throw std::invalid_argument(output + " names the file to print; nothing was read or written");
  PlotState plots;
  SpectrumState spectrum;
  ChaosState chaos;
  SaveState save;
  PythonRunControl run;
  PlotFileOutcome plotted;
  PrintOutcome printed;
  std::string why_not;
  bool opened = false;
  {
    py::gil_scoped_release release;
    plotted = plot_file({plots, spectrum, chaos, save}, PlotFileRequest{path, range_value}, run);
    if (plotted.done() && page_has_content(plots, spectrum))
      if (const KvWritePage write_page = page_writer(why_not))
        opened = write_page(plots, spectrum, chaos, pdf, output, why_not, printed);
  }
  run.finish();
  if (plotted.halted()) throw std::runtime_error("the plotting was stopped");
  if (!plotted.done()) throw FileFailure(path, plotted.reason);
  if (!page_has_content(plots, spectrum))
    throw FileFailure(path, path + " holds no points: there is nothing to print", 0);
  if (!why_not.empty() && !opened) throw std::runtime_error(why_not);
  if (!printed.done()) throw FileFailure(output, printed.reason, 0);
  return spectrum.FFT_flag ? "spectrum" : "phase";
}

}  // namespace

void bind_print(py::module_& m) {
  m.def("_print_page", &print_page_of, py::arg("path"), py::arg("range"), py::arg("pdf"),
        py::arg("output"));
}

}  // namespace kv::python
