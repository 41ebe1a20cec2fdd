// sweep: the parameter sweep kestavor-cli sweep runs (sweep/sweep.h), its cells gathered
// into arrays in grid order instead of CSV rows.
#include <pybind11/stl.h>

#include <cmath>
#include <limits>

#include "datafiles/data_lines.h"
#include "python/binding.h"
#include "sweep/sweep.h"

namespace kv::python {

namespace {

SweepAxis axis(const std::string& keyword, double from, double to, long long steps) {
  return SweepAxis{panel_box(keyword), from, to, steps};
}

py::tuple sweep(const std::map<std::string, std::string>& panel, const std::string& param,
                double from, double to, long long steps, const std::string& param2, double from2,
                double to2, long long steps2, long long transient, long long points, bool lyapunov,
                bool follow, unsigned threads, py::object progress) {
  SweepRequest r;
  r.base = panel_texts(panel);
  r.x = axis(param, from, to, steps);
  if (!param2.empty()) r.y = axis(param2, from2, to2, steps2);
  r.transient = transient;
  r.kept = points;
  r.kind = lyapunov || !param2.empty() ? SweepKind::lyapunov : SweepKind::orbit;
  r.start = follow ? SweepStart::follow : SweepStart::fresh;
  r.threads = threads;
  if (std::string why = check_sweep(r); !why.empty()) throw std::invalid_argument(why);

  std::vector<double> x(static_cast<std::size_t>(r.x.steps)), y;
  for (std::int64_t i = 0; i < r.x.steps; ++i) x[i] = axis_value(r.x, i);
  if (r.y.box) {
    y.resize(static_cast<std::size_t>(r.y.steps));
    for (std::int64_t i = 0; i < r.y.steps; ++i) y[i] = axis_value(r.y, i);
  }
  // Orbit diagram: one entry per kept point. Map: one entry per cell (NaN exponent and
  // period -1 for a cell that blew up or was refused).
  std::vector<double> parameter, phase, velocity, exponent;
  std::vector<std::int64_t> period;
  const SweepSink sink = [&](const SweepCell& c) {
    if (r.kind == SweepKind::orbit) {
      // The values of the file's texts, as kestavor-cli sweep writes them.
      char line[96];
      for (const SweepPoint& p : c.points) {
        const std::string_view text(line, format_sim_poincare_line(line, p.phase, p.velocity));
        const std::size_t blank = text.find(' ');
        parameter.push_back(x[static_cast<std::size_t>(c.ix)]);
        phase.push_back(file_value(text.substr(0, blank)));
        velocity.push_back(file_value(text.substr(blank + 1)));
      }
    } else {
      const bool ok = c.state == CellState::ok;
      exponent.push_back(ok ? c.exponent : std::numeric_limits<double>::quiet_NaN());
      period.push_back(ok ? c.period : -1);
    }
    return true;
  };
  PythonRunControl run(std::move(progress));
  SweepOutcome out;
  {
    py::gil_scoped_release release;
    out = run_sweep(r, run, sink);
  }
  run.finish();
  if (out.status == Status::failed) throw std::runtime_error(out.reason);
  if (r.kind == SweepKind::orbit)
    return py::make_tuple(to_numpy(std::move(x)), to_numpy(std::move(parameter)),
                          to_numpy(std::move(phase)), to_numpy(std::move(velocity)), out.unstable);
  py::array_t<double> e = to_numpy(std::move(exponent));
  py::array_t<std::int64_t> p = to_numpy(std::move(period));
  if (r.y.box) {
    e = e.reshape({r.y.steps, r.x.steps});
    p = p.reshape({r.y.steps, r.x.steps});
  }
  return py::make_tuple(to_numpy(std::move(x)), to_numpy(std::move(y)), e, p, out.unstable);
}

}  // namespace

void bind_sweep(py::module_& m) {
  m.def("_sweep", &sweep, py::arg("panel"), py::arg("param"), py::arg("from_"), py::arg("to"),
        py::arg("steps"), py::arg("param2"), py::arg("from2"), py::arg("to2"), py::arg("steps2"),
        py::arg("transient"), py::arg("points"), py::arg("lyapunov"), py::arg("follow"),
        py::arg("threads"), py::arg("progress"));
}

}  // namespace kv::python
