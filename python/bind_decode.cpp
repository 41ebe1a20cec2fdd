// decode: raw 6-byte box records turned into the orbit or Poincare file a recording of N
// points makes from them, by the recording engine kestavor-cli decode runs.
#include "acquisition/replay_box.h"
#include "app/commands/headless_recording.h"
#include "python/binding.h"

namespace kv::python {

namespace {

py::tuple decode(py::bytes raw, bool orbit, long long points, const std::string& path) {
  if (points < 0 || (orbit && points > 1000000) || points > 2147483647)
    throw std::invalid_argument(orbit ? "an orbit recording holds 0 to 1000000 points"
                                      : "the number of points must be from 0 to 2147483647");
  HeadlessRecording job;
  job.request.kind = orbit ? RecordingKind::Orbit : RecordingKind::Poincare;
  job.request.points = static_cast<std::int32_t>(points);
  job.request.path = path;
  PythonRunControl run;
  job.run = &run;
  auto box = std::make_unique<ReplayBox>(std::string(raw), "the raw records");
  HeadlessResult r;
  {
    py::gil_scoped_release release;
    r = record_headless(std::move(box), job);
  }
  run.finish();
  if (!r.messages.empty()) throw FileFailure(path, r.messages.front(), 0);
  if (!r.outcome.ran || !r.outcome.kept)
    throw FileFailure(path, r.outcome.reason.empty() ? path + " was not written" : r.outcome.reason,
                      0);
  return py::make_tuple(r.outcome.lines, r.outcome.end == RunEnd::EndOfData);
}

}  // namespace

void bind_decode(py::module_& m) {
  m.def("_decode", &decode, py::arg("raw"), py::arg("orbit"), py::arg("points"), py::arg("path"));
}

}  // namespace kv::python
