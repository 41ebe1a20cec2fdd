// lyapunov and dimension: the chaos estimates of an orbit file and of a Poincare file, by
// the engines kestavor-cli lyapunov and dimension run.
#include <pybind11/stl.h>

#include "chaos/chaos_state.h"
#include "chaos/dimension.h"
#include "chaos/lyapunov.h"
#include "plot/plot_state.h"
#include "python/binding.h"

namespace kv::python {

namespace {

py::tuple lyapunov_of(const std::string& path, py::object progress) {
  ChaosState chaos;
  PythonRunControl run(std::move(progress));
  LyapunovRun result;
  {
    py::gil_scoped_release release;
    result = lyapunov(chaos, LyapunovRequest{path, {}}, run);
  }
  run.finish();
  switch (result.status) {
    case Status::done:
      return py::make_tuple(py::float_(result.exponent), result.steps, result.text);
    case Status::halted:
      throw std::runtime_error("the Lyapunov estimate was stopped");
    case Status::refused:
      // A file too short for the estimate, or an estimate with no neighbour to rate.
      if (result.text == kLyapunovTooShort) throw FileFailure(path, result.reason, 0);
      return py::make_tuple(py::none(), result.steps, result.text);
    default:
      throw FileFailure(path, result.reason);
  }
}

py::tuple dimension_of(const std::string& path, py::object progress) {
  PlotState plots;
  PythonRunControl run(std::move(progress));
  DimensionOutcome out;
  {
    py::gil_scoped_release release;
    out = capacity_dimension_of_file(plots, DimensionRequest{path}, run);
  }
  run.finish();
  if (out.halted()) throw std::runtime_error("the capacity dimension was stopped");
  // Refused with a status text: the points were counted but the dimension is undefined.
  if (!out.done() && (out.status != Status::refused || out.text.empty()))
    throw FileFailure(path, out.reason);
  const std::vector<std::int32_t> totals(out.box_totals.begin(), out.box_totals.end());
  const py::object value =
      out.done() ? py::object(py::float_(out.dimension)) : py::object(py::none());
  return py::make_tuple(value, out.points, totals, out.text);
}

}  // namespace

void bind_chaos(py::module_& m) {
  m.def("_lyapunov", &lyapunov_of, py::arg("path"), py::arg("progress"));
  m.def("_dimension", &dimension_of, py::arg("path"), py::arg("progress"));
}

}  // namespace kv::python
