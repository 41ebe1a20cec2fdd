// lyapunov and dimension: the chaos estimates of an orbit file and of a Poincare file, by
// the engines kestavor-cli lyapunov and dimension run.
#include <pybind11/stl.h>

#include "chaos/chaos_state.h"
#include "chaos/dimension.h"
#include "chaos/lyapunov.h"
#include "platform/scripted_services.h"
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
  using O = LyapunovRun::Outcome;
  switch (result.outcome) {
    case O::finished:
      return py::make_tuple(py::float_(result.exponent), result.steps, result.text);
    case O::no_estimate:
      return py::make_tuple(py::none(), result.steps, result.text);
    case O::too_short:
      throw FileFailure(path, path + ": " + result.text, 0);
    case O::halted:
      throw std::runtime_error("the Lyapunov estimate was stopped");
    default:
      throw FileFailure(path, result.error);
  }
}

py::tuple dimension_of(const std::string& path, py::object progress) {
  PlotState plots;
  NullPump pump;  // nothing is shown
  PythonRunControl run(std::move(progress));
  DimensionOutcome out;
  {
    py::gil_scoped_release release;
    out = capacity_dimension_of_file(plots, pump, DimensionRequest{path}, run);
  }
  run.finish();
  using S = DimensionOutcome::Status;
  if (out.status == S::refused || out.status == S::unreadable) throw FileFailure(path, out.reason);
  const std::vector<std::int32_t> totals(out.box_totals.begin(), out.box_totals.end());
  const py::object value =
      out.status == S::computed ? py::object(py::float_(out.dimension)) : py::object(py::none());
  return py::make_tuple(value, out.points, totals, out.text);
}

}  // namespace

void bind_chaos(py::module_& m) {
  m.def("_lyapunov", &lyapunov_of, py::arg("path"), py::arg("progress"));
  m.def("_dimension", &dimension_of, py::arg("path"), py::arg("progress"));
}

}  // namespace kv::python
