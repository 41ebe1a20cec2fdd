// kestavor-cli lyapunov: the largest Lyapunov exponent of an orbit file, printed as the
// status text of the window shows it, or as one JSON object with --json.
#include <cstdio>
#include <iostream>

#include "chaos/chaos_state.h"
#include "chaos/lyapunov.h"
#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"

namespace kv::cli {
namespace {

struct Arguments {
  std::string path;
  bool json = false, quiet = false;
} opt;

void declare(Options& o) {
  o.file(opt.path, "FILE.pha", "the orbit file");
  o.flag("--json", opt.json, "print one JSON object");
  o.flag("--quiet", opt.quiet, "show no progress line");
}

int run() {
  const std::string& path = opt.path;
  const bool json = opt.json, quiet = opt.quiet;
  ChaosState chaos;
  SignalRunControl run;
  run.show_progress("records", quiet);
  const LyapunovRun result = lyapunov(chaos, LyapunovRequest{path, {}}, run);
  run.end_progress();
  if (result.done()) {
    if (json) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.17g", result.exponent);
      std::cout << "{\"lyapunov_exponent\": " << buf << ", \"steps\": " << result.steps << "}\n";
    } else {
      std::cout << result.text << "\n";
    }
  } else if (result.halted()) {
    std::cerr << "kestavor-cli: interrupted: the estimate was stopped\n";
  } else {
    std::cerr << "kestavor-cli: " << result.reason << "\n";
  }
  return exit_status(result, run.signal());
}

Register reg{{"lyapunov",
              "largest Lyapunov exponent of an orbit file (status text, or JSON with --json)",
              declare, run}};

}  // namespace
}  // namespace kv::cli
