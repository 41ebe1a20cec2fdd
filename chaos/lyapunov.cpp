#include "chaos/lyapunov.h"

#include <algorithm>
#include <vector>

#include "app/state/form1.h"
#include "chaos/lyapunov_estimate.h"
#include "datafiles/orbit_reader.h"
#include "platform/number_format.h"
#include "platform/run_control.h"
#include "platform/text_files.h"

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

// Fills series(1..11800) from records 201..12000. `end` when the file holds fewer.
OrbitReader::Status read_series(std::string_view text, std::vector<float>& series,
                                std::string& error) {
  OrbitReader in(text);
  std::string item;
  for (int i = 0; i < 2; ++i) {
    if (in.read_word(item) != OrbitReader::Status::ok) return OrbitReader::Status::end;
  }
  series.assign(kLyapunovRecords - kLyapunovSkipped + 1, 0.0f);
  float v = 0;
  for (int i = 1; i <= kLyapunovRecords; ++i) {
    OrbitReader::Status st = in.read_velocity(v);
    if (st != OrbitReader::Status::ok) {
      error = in.error();
      return st;
    }
    if (i > kLyapunovSkipped) series[i - kLyapunovSkipped] = v;
  }
  return OrbitReader::Status::ok;
}

}  // namespace

std::string lyapunov_status_text(double exponent) {
  return kLyapunovResult + format_pattern(exponent, "#.###");
}

LyapunovRun lyapunov(Form1& f, const std::string& path, RunControl& run_control) {
  std::string text, error;
  if (!read_whole_file(path, text, error)) {
    LyapunovRun run;
    run.error = error;
    f.lyapunov_exponent = 0;
    f.ui.set_visible(Ctl::Text67, false);
    finish(f);
    f.sys.dialogs.message(error, "Lyapunov exponent", MsgIcon::Critical);
    return run;
  }
  return lyapunov_of_text(f, text, path, run_control);
}

LyapunovRun lyapunov_of_text(Form1& f, std::string_view text, const std::string& path,
                             RunControl& run_control) {
  LyapunovRun run;
  f.ui.set_text(Ctl::Text67, kLyapunovCalculating);
  f.ui.set_visible(Ctl::Text67, true);
  f.ui.set_visible(Ctl::Text68, true);
  f.ui.set_back(Ctl::Text18, kCyan);
  f.sys.pump.repaint();

  std::vector<float> series;
  std::string error;
  OrbitReader::Status st = read_series(text, series, error);
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
    run.outcome = LyapunovRun::Outcome::finished;
    f.lyapunov_exponent = est.exponent;
    run.text = lyapunov_status_text(est.exponent);
    f.ui.set_text(Ctl::Text67, run.text);
  }
  run.exponent = f.lyapunov_exponent;
  finish(f);
  return run;
}

}  // namespace kv
