#include "chaos/lyapunov.h"

#include <algorithm>
#include <vector>

#include "app/state/form1.h"
#include "chaos/lyapunov_estimate.h"
#include "datafiles/orbit_reader.h"
#include "platform/input_file.h"
#include "platform/number_format.h"
#include "platform/run_control.h"
#include "platform/shown_text.h"

namespace kv {

namespace {

// Asks the run control about HALT once per candidate and shows the progress marks after
// every step: "g" for every two steps done, "c" for the rest of 21 places.
class FormHooks : public LyapunovHooks {
 public:
  FormHooks(Form1& f, RunControl& run) : f_(f), run_(run) {}
  bool halt() override { return run_.halt_requested(); }
  void step_done(const LyapunovStep& step) override {
    f_.lyapunov_exponent = step.estimate;
    const int done = step.steps / 2;
    std::string marks(1, ' ');
    marks.append(static_cast<std::size_t>(done), 'g');
    if (21 - done > 0) marks.append(static_cast<std::size_t>(21 - done), 'c');
    f_.ui.set_text(Ctl::Text68, marks);
    f_.sys.pump.repaint();
    // How far the reference has come through the series.
    const LyapunovParams p;
    run_.progress(std::min(step.reference + p.evolve, p.last), p.last);
  }

 private:
  Form1& f_;
  RunControl& run_;
};

void finish(Form1& f) {
  f.ui.set_visible(Ctl::Text68, false);
  f.ui.set_back(Ctl::Text18, kGrey);
  f.ui.set_enabled(Ctl::Text18, false);
  f.sys.pump.repaint();
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
LyapunovRun lyapunov_of_file(Form1& f, OrbitReader& in, const std::string& path,
                             RunControl& run_control) {
  std::vector<float> velocities;
  std::string kind;
  const OrbitReader::Status st = start_reading(in, velocities, kind);
  if (st == OrbitReader::Status::ok && kind != "PHASE") {
    LyapunovRun run;
    run.error =
        path + ": line 2 reads \"" + shown_bytes(kind) + "\", not PHASE: this is not an orbit file";
    f.lyapunov_exponent = 0;
    f.ui.set_visible(Ctl::Text67, false);
    finish(f);
    f.sys.dialogs.message(run.error, "Lyapunov exponent", MsgIcon::Critical);
    return run;
  }
  return lyapunov_of_reader(f, in, velocities, st, path, run_control);
}

}  // namespace

std::string lyapunov_status_text(double exponent) {
  return kLyapunovResult + format_pattern(exponent, "#.###");
}

void collect_lyapunov_velocities(OrbitReader& in, std::vector<float>& velocities) {
  velocities.assign(kLyapunovRecords + 1, 0.0f);
  in.collect_velocities(velocities.data(), kLyapunovRecords);
}

LyapunovRun lyapunov(Form1& f, const std::string& path, RunControl& run_control) {
  // Only the records used are read: the file is never read to its end.
  InputFile file;
  std::string error;
  if (!file.open(path, error)) {
    LyapunovRun run;
    run.error = error;
    f.lyapunov_exponent = 0;
    f.ui.set_visible(Ctl::Text67, false);
    finish(f);
    f.sys.dialogs.message(error, "Lyapunov exponent", MsgIcon::Critical);
    return run;
  }
  OrbitReader in(file);
  return lyapunov_of_file(f, in, path, run_control);
}

LyapunovRun lyapunov_of_text(Form1& f, std::string_view text, const std::string& path,
                             RunControl& run_control) {
  OrbitReader in(text);
  return lyapunov_of_file(f, in, path, run_control);
}

LyapunovRun lyapunov_of_reader(Form1& f, OrbitReader& in, const std::vector<float>& velocities,
                               OrbitReader::Status header, const std::string& path,
                               RunControl& run_control) {
  LyapunovRun run;
  f.ui.set_text(Ctl::Text67, kLyapunovCalculating);
  f.ui.set_visible(Ctl::Text67, true);
  f.ui.set_visible(Ctl::Text68, true);
  f.ui.set_back(Ctl::Text18, kCyan);
  f.sys.pump.repaint();

  std::string error = in.error();
  OrbitReader::Status st = header;
  if (st == OrbitReader::Status::ok) st = read_rest(in, error);
  if (st != OrbitReader::Status::ok) {
    f.lyapunov_exponent = 0;
    if (st == OrbitReader::Status::end) {
      run.outcome = LyapunovRun::Outcome::too_short;
      run.text = kLyapunovTooShort;
      f.ui.set_text(Ctl::Text67, run.text);
    } else {
      run.outcome = LyapunovRun::Outcome::unreadable;
      run.error = path + ": " + error;
      f.ui.set_visible(Ctl::Text67, false);
      f.sys.dialogs.message(run.error, "Lyapunov exponent", MsgIcon::Critical);
    }
    finish(f);
    return run;
  }

  // series(1..11800) holds records 201..12000.
  std::vector<float> series(velocities.begin() + kLyapunovSkipped, velocities.end());
  series[0] = 0;
  FormHooks hooks(f, run_control);
  LyapunovEstimate est = estimate_lyapunov(series, LyapunovParams{}, hooks);
  run.steps = est.steps;
  if (est.halted) {
    run.outcome = LyapunovRun::Outcome::halted;
    f.ui.set_back(Ctl::Text18, kGrey);
    f.ui.set_enabled(Ctl::Text18, false);
    f.ui.set_visible(Ctl::Text67, false);
    f.lyapunov_exponent = 0;
  } else {
    // When no step had a growth rate (no neighbour at a nonzero distance was ever found)
    // there is no estimate; the status text reads as it always has.
    run.outcome =
        est.rated_steps > 0 ? LyapunovRun::Outcome::finished : LyapunovRun::Outcome::no_estimate;
    f.lyapunov_exponent = est.exponent;
    run.text = lyapunov_status_text(est.exponent);
    f.ui.set_text(Ctl::Text67, run.text);
  }
  run.exponent = f.lyapunov_exponent;
  finish(f);
  return run;
}

}  // namespace kv
