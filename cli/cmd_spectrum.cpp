// kestavor-cli spectrum: the "FFT" command without a window. The same command code runs
// over dialogs that answer as the user would: the orbit file, the number of segments
// (default: the number offered), Yes to saving, and the output path.
#include <cctype>
#include <iostream>
#include <stdexcept>

#include "app/commands/commands.h"
#include "app/state/form1.h"
#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "fft/get_fft_data.h"
#include "fft/windows.h"
#include "platform/scripted_services.h"

namespace kv::cli {
namespace {

class AnsweringDialogs : public Dialogs {
 public:
  std::string orbit_path, output_path, segments;  // segments empty: take the offer
  std::string offered;
  int messages = 0;

  void message(const std::string& text, const std::string&, MsgIcon) override {
    std::cerr << "kestavor-cli: " << text << "\n";
    ++messages;
  }
  bool ask_yes_no(const std::string&, const std::string&, MsgIcon) override { return true; }
  std::string input_box(const std::string&, const std::string&,
                        const std::string& default_text) override {
    offered = default_text;
    return segments.empty() ? default_text : segments;
  }
  std::string open_file(const std::string&, const std::string&, const std::string&) override {
    return orbit_path;
  }
  std::string save_file(const std::string&, const std::string&, const std::string&,
                        const std::string&) override {
    return output_path;
  }
};

int window_index(const std::string& name) {
  for (int i = 0; i < 4; ++i) {
    const std::string_view w = kWindowNames[i];
    if (w.size() != name.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < w.size(); ++k)
      if (std::tolower(static_cast<unsigned char>(w[k])) !=
          std::tolower(static_cast<unsigned char>(name[k])))
        same = false;
    if (same) return i;
  }
  return -1;
}

int run(const std::vector<std::string>& args) {
  AnsweringDialogs dialogs;
  std::string window;
  for (ArgReader in(args); in.next();) {
    const std::string& a = in.arg();
    if (a == "--window") {
      window = in.value();
    } else if (a == "--segments") {
      long long s = parse_count(a, in.value());
      if (s < 1) return fail("--segments must be 1 or more");
      dialogs.segments = std::to_string(s);
    } else if (a == "-o") {
      dialogs.output_path = in.value();
    } else if (!a.empty() && a[0] == '-') {
      return fail("unknown option " + a);
    } else if (dialogs.orbit_path.empty()) {
      dialogs.orbit_path = a;
    } else {
      return fail("more than one orbit file given");
    }
  }
  if (dialogs.orbit_path.empty()) return fail("spectrum needs an orbit file (FILE.pha)");
  if (window.empty()) return fail("spectrum needs --window Parzen|Hanning|Welch|Square");
  if (dialogs.output_path.empty()) return fail("spectrum needs -o OUT.fft");
  const int index = window_index(window);
  if (index < 0) return fail("unknown window \"" + window + "\" (Parzen, Hanning, Welch, Square)");

  ScriptedServices scripted;
  Form1 f(Services{dialogs, scripted.pointer, scripted.manual_clock, scripted.help, scripted.pump,
                   scripted.timer1});
  Text15_Click(f);
  f.ui.set_value(Ctl::List1, index);
  SignalRunControl run;
  const SpectrumOutcome outcome = get_fft_data(f, run);
  if (run.signal() != 0) {
    std::cerr << "kestavor-cli: interrupted: the Lyapunov estimate was stopped\n";
    return run.exit_status();
  }
  switch (outcome) {
    case SpectrumOutcome::saved:
      std::cout << dialogs.output_path << ": " << f.window << " window, "
                << (dialogs.segments.empty() ? dialogs.offered : dialogs.segments)
                << " segment(s) averaged\n";
      return 0;
    case SpectrumOutcome::cancelled:
      return fail(dialogs.orbit_path + " is too short for one segment of 36864 records (" +
                  std::to_string(f.number_of_points) + " points in its header)");
    default:
      return dialogs.messages > 0 ? 1 : fail("the spectrum was not written");
  }
}

Register reg{{"spectrum", "FILE.pha --window Parzen|Hanning|Welch|Square [--segments S] -o OUT.fft",
              "averaged power spectrum of an orbit file, written as a *.fft file", run}};

}  // namespace
}  // namespace kv::cli
