#include "chaos/lyapunov.h"

#include <algorithm>
#include <vector>

#include "chaos/chaos_state.h"
#include "chaos/lyapunov_estimate.h"
#include "datafiles/orbit_reader.h"
#include "platform/input_file.h"
#include "platform/number_format.h"
#include "platform/run_control.h"
#include "platform/shown_text.h"

namespace kv {

namespace {

// Asks the run control about HALT once per candidate; after every step keeps the running
// value, tells the watch and reports how far the reference has come through the series.
class Hooks : public LyapunovHooks {
 public:
  Hooks(ChaosState& chaos, const LyapunovWatch& watch, RunControl& run)
      : chaos_(chaos), watch_(watch), run_(run) {}
  bool halt() override { return run_.halt_requested(); }
  void step_done(const LyapunovStep& step) override {
    chaos_.lyapunov_exponent = step.estimate;
    if (watch_.step_done) watch_.step_done(step);
    const LyapunovParams p;
    run_.progress(std::min(step.reference + p.evolve, p.last), p.last);
  }

 private:
  ChaosState& chaos_;
  const LyapunovWatch& watch_;
  RunControl& run_;
};

LyapunovRun unreadable(ChaosState& chaos, std::string error) {
  LyapunovRun run;
  run.reason = std::move(error);
  chaos.lyapunov_exponent = 0;
  return run;
}

// Reads on until `in` has read records 1..12000 (their velocities collected in
// velocities(1..12000)). `end` when the file holds fewer.
OrbitReader::Status read_rest(OrbitReader& in, std::string& error) {
  float v = 0;
  while (in.collect_error().empty() && in.records() < kLyapunovRecords) {
    const OrbitReader::Status st = in.read_velocity(v);
    if (st != OrbitReader::Status::ok) {
      error = in.error();
      return st;
    }
  }
  if (!in.collect_error().empty()) {
    error = in.collect_error();
    return OrbitReader::Status::bad;
  }
  return OrbitReader::Status::ok;
}

// Reads the two header items, then collects records 1..12000 while they are read. `kind`
// gets the second item ("PHASE" in an orbit file).
OrbitReader::Status start_reading(OrbitReader& in, std::vector<float>& velocities,
                                  std::string& kind) {
  for (int i = 0; i < 2; ++i) {
    const OrbitReader::Status st = in.read_word(kind);
    if (st != OrbitReader::Status::ok) return st;
  }
  collect_lyapunov_velocities(in, velocities);
  return OrbitReader::Status::ok;
}

// The estimate of a whole file: refused unless its second line names an orbit file (a
// Poincare file's velocities are one per drive period, not a time series).
LyapunovRun lyapunov_of_file(ChaosState& chaos, OrbitReader& in, const LyapunovRequest& request,
                             RunControl& run_control) {
  std::vector<float> velocities;
  std::string kind;
  const OrbitReader::Status st = start_reading(in, velocities, kind);
  if (st == OrbitReader::Status::ok && kind != "PHASE")
    return unreadable(chaos, request.path + ": line 2 reads \"" + shown_bytes(kind) +
                                 "\", not PHASE: this is not an orbit file");
  return lyapunov_of_reader(chaos, in, velocities, st, request, run_control);
}

}  // namespace

std::string lyapunov_status_text(double exponent) {
  return kLyapunovResult + format_pattern(exponent, "#.###");
}

void collect_lyapunov_velocities(OrbitReader& in, std::vector<float>& velocities) {
  velocities.assign(kLyapunovRecords + 1, 0.0f);
  in.collect_velocities(velocities.data(), kLyapunovRecords);
}

LyapunovRun lyapunov(ChaosState& chaos, const LyapunovRequest& request, RunControl& run_control) {
  // Only the records used are read: the file is never read to its end.
  InputFile file;
  std::string error;
  if (!file.open(request.path, error)) return unreadable(chaos, error);
  OrbitReader in(file);
  return lyapunov_of_file(chaos, in, request, run_control);
}

LyapunovRun lyapunov_of_text(ChaosState& chaos, std::string_view text,
                             const LyapunovRequest& request, RunControl& run_control) {
  OrbitReader in(text);
  return lyapunov_of_file(chaos, in, request, run_control);
}

LyapunovRun lyapunov_of_reader(ChaosState& chaos, OrbitReader& in,
                               const std::vector<float>& velocities, OrbitReader::Status header,
                               const LyapunovRequest& request, RunControl& run_control) {
  if (request.watch.started) request.watch.started();

  LyapunovRun run;
  std::string error = in.error();
  OrbitReader::Status st = header;
  if (st == OrbitReader::Status::ok) st = read_rest(in, error);
  if (st != OrbitReader::Status::ok) {
    chaos.lyapunov_exponent = 0;
    if (st == OrbitReader::Status::end) {
      run.status = Status::refused;
      run.text = kLyapunovTooShort;
      run.reason = request.path + ": " + run.text;
    } else {
      run.reason = request.path + ": " + error;
    }
    return run;
  }

  // series(1..11800) holds records 201..12000.
  std::vector<float> series(velocities.begin() + kLyapunovSkipped, velocities.end());
  series[0] = 0;
  Hooks hooks(chaos, request.watch, run_control);
  const LyapunovEstimate est = estimate_lyapunov(series, LyapunovParams{}, hooks);
  run.steps = est.steps;
  if (est.halted) {
    run.status = Status::halted;
    chaos.lyapunov_exponent = 0;
  } else {
    // When no step had a growth rate (no neighbour at a nonzero distance was ever found)
    // there is no estimate; the status text reads as it always has.
    run.status = est.rated_steps > 0 ? Status::done : Status::refused;
    if (est.rated_steps == 0)
      run.reason = request.path +
                   ": no estimate was possible: no neighbour of the reference trajectory was "
                   "found at a nonzero distance";
    chaos.lyapunov_exponent = est.exponent;
    run.text = lyapunov_status_text(est.exponent);
  }
  run.exponent = chaos.lyapunov_exponent;
  return run;
}

}  // namespace kv
