// decode: raw 6-byte box records turned into the orbit or Poincare file a recording of N
// points makes from them, by the recording engine kestavor-cli decode runs.
#include "acquisition/recording.h"
#include "acquisition/replay_box.h"
#include "platform/clock.h"
#include "python/binding.h"

namespace kv::python {

namespace {

py::tuple decode(py::bytes raw, bool orbit, long long points, const std::string& path) {
  if (points < 0 || (orbit && points > 1000000) || points > 2147483647)
    throw std::invalid_argument(orbit ? "an orbit recording holds 0 to 1000000 points"
                                      : "the number of points must be from 0 to 2147483647");
  PythonRunControl run;
  ComputerClock clock;  // the records are read as fast as they decode
  auto box = std::make_unique<ReplayBox>(std::string(raw), "the raw records");
  RecordingOutcome r;
  {
    py::gil_scoped_release release;
    r = record_from_box(std::move(box),
                        {orbit ? RecordingKind::Orbit : RecordingKind::Poincare,
                         static_cast<std::int32_t>(points), path},
                        clock, run);
  }
  run.finish();
  if (!r.done() || !r.kept)
    throw FileFailure(path, r.reason.empty() ? path + " was not written" : r.reason, 0);
  return py::make_tuple(r.lines, r.end == RunEnd::EndOfData);
}

}  // namespace

void bind_decode(py::module_& m) {
  m.def("_decode", &decode, py::arg("raw"), py::arg("orbit"), py::arg("points"), py::arg("path"));
}

}  // namespace kv::python
