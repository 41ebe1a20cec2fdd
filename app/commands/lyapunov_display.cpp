#include "app/commands/lyapunov_display.h"

#include "app/state/form1.h"

namespace kv {

std::string lyapunov_progress_marks(int steps) {
  const int done = steps / 2;
  std::string marks(1, ' ');
  marks.append(static_cast<std::size_t>(done), 'g');
  if (21 - done > 0) marks.append(static_cast<std::size_t>(21 - done), 'c');
  return marks;
}

LyapunovWatch lyapunov_watch(Form1& f) {
  LyapunovWatch watch;
  watch.started = [&f] {
    f.ui.set_text(Ctl::Text67, kLyapunovCalculating);
    f.ui.set_visible(Ctl::Text67, true);
    f.ui.set_visible(Ctl::Text68, true);
    f.ui.set_back(Ctl::Text18, kCyan);
    f.sys.pump.repaint();
  };
  watch.step_done = [&f](const LyapunovStep& step) {
    f.ui.set_text(Ctl::Text68, lyapunov_progress_marks(step.steps));
    f.sys.pump.repaint();
  };
  return watch;
}

void show_lyapunov_outcome(Form1& f, const LyapunovRun& run) {
  switch (run.status) {
    case Status::done:
    case Status::refused:
      f.ui.set_text(Ctl::Text67, run.text);
      break;
    case Status::halted:
      f.ui.set_visible(Ctl::Text67, false);
      break;
    case Status::failed:
      f.ui.set_visible(Ctl::Text67, false);
      f.sys.dialogs.message(run.reason, "Lyapunov exponent", MsgIcon::Critical);
      break;
  }
  f.ui.set_visible(Ctl::Text68, false);
  f.ui.set_back(Ctl::Text18, kGrey);
  f.ui.set_enabled(Ctl::Text18, false);
  f.sys.pump.repaint();
}

LyapunovRun lyapunov_command(Form1& f, const std::string& path, RunControl& run) {
  const LyapunovRun out = lyapunov(f, LyapunovRequest{path, lyapunov_watch(f)}, run);
  show_lyapunov_outcome(f, out);
  return out;
}

}  // namespace kv
