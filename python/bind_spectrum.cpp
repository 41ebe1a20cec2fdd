// spectrum: the "FFT" command as kestavor-cli spectrum runs it (the same request and
// engine), with the averaged spectrum and the Lyapunov estimate of the same file given
// back; the *.fft file is written only when the whole command ran, so an interrupted call
// writes nothing.
#include <cctype>
#include <cmath>

#include "chaos/chaos_state.h"
#include "datafiles/save_state.h"
#include "fft/get_fft_data.h"
#include "fft/spectrum_file.h"
#include "fft/spectrum_state.h"
#include "fft/windows.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
#include "python/binding.h"

namespace kv::python {

namespace {

int window_index(const std::string& name) {
  for (int i = 0; i < 4; ++i) {
    const std::string_view w = kWindowNames[i];
    bool same = w.size() == name.size();
    for (std::size_t k = 0; same && k < w.size(); ++k)
      same = std::tolower(static_cast<unsigned char>(w[k])) ==
             std::tolower(static_cast<unsigned char>(name[k]));
    if (same) return i;
  }
  throw std::invalid_argument("unknown window \"" + name + "\" (Parzen, Hanning, Welch, Square)");
}

py::tuple spectrum(const std::string& orbit_path, const std::string& window, long long segments,
                   const std::string& output, py::object progress) {
  SpectrumRequest request;
  request.orbit_path = orbit_path;
  request.window = window_index(window);
  if (segments < 0) throw std::invalid_argument("segments must be 1 or more");
  request.segments = segments;
  if (!output.empty() && same_file(output, orbit_path))
    throw std::invalid_argument(output + " names the orbit file; nothing was read or written");

  PlotState plots;
  SpectrumState spectrum;
  ChaosState chaos;
  SaveState save;
  FileTable files;
  const SpectrumContext context{plots, spectrum, chaos, save, files};
  PythonRunControl run(std::move(progress));
  SpectrumResult result;
  std::string save_error;
  bool saved = true;
  {
    py::gil_scoped_release release;
    result = run_spectrum(context, request, run);
    if (result.done() && !run.stopped() && !output.empty())
      saved = save_spectrum_file(context, output, save_error);
  }
  run.finish();
  if (result.halted()) throw std::runtime_error("the spectrum was stopped");
  if (!result.done())
    throw FileFailure(orbit_path, result.reason, result.status == Status::refused ? 0 : -1);
  if (!saved) throw FileFailure(output, save_error, 0);
  const int lines = spectrum_file_lines(spectrum.fft_points);
  std::vector<double> frequency(static_cast<std::size_t>(lines));
  std::vector<float> power(static_cast<std::size_t>(lines));
  for (int j = 1; j <= lines; ++j) {
    frequency[j - 1] = spectrum_line_frequency(j);
    power[j - 1] = spectrum.spectrum[j];
  }
  const LyapunovRun& l = result.lyapunov;
  const py::object exponent =
      l.done() ? py::object(py::float_(l.exponent)) : py::object(py::none());
  return py::make_tuple(spectrum.window, result.segments, plots.number_of_points,
                        to_numpy(std::move(frequency)), to_numpy(std::move(power)), exponent);
}

}  // namespace

void bind_spectrum(py::module_& m) {
  m.def("_spectrum", &spectrum, py::arg("orbit_path"), py::arg("window"), py::arg("segments"),
        py::arg("output"), py::arg("progress"));
}

}  // namespace kv::python
