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

int run(const std::vector<std::string>& args) {
  std::string path;
  bool json = false, quiet = false;
  ArgReader in(args);
  while (in.next()) {
    const std::string& a = in.arg();
    if (a == "--json") {
      json = true;
    } else if (a == "--quiet") {
      quiet = true;
    } else if (!a.empty() && a[0] == '-') {
      return fail("unknown option " + a);
    } else if (path.empty()) {
      path = a;
    } else {
      return fail("more than one orbit file given");
    }
  }
  if (in.failed()) return fail(in.error());
  if (path.empty()) return fail("lyapunov needs an orbit file (FILE.pha)");

  ChaosState chaos;
  SignalRunControl run;
  run.show_progress("records", quiet);
  const LyapunovRun result = lyapunov(chaos, LyapunovRequest{path, {}}, run);
  run.end_progress();
  switch (result.outcome) {
    case LyapunovRun::Outcome::finished:
      if (json) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", result.exponent);
        std::cout << "{\"lyapunov_exponent\": " << buf << ", \"steps\": " << result.steps << "}\n";
      } else {
        std::cout << result.text << "\n";
      }
      return 0;
    case LyapunovRun::Outcome::no_estimate:
      std::cerr << "kestavor-cli: " << path
                << ": no estimate was possible: no neighbour of the reference trajectory was "
                   "found at a nonzero distance\n";
      return 1;
    case LyapunovRun::Outcome::too_short:
      // A file too short is refused (1); 2 stays the status of a wrong command line.
      std::cerr << "kestavor-cli: " << path << ": " << result.text << "\n";
      return 1;
    case LyapunovRun::Outcome::halted:
      std::cerr << "kestavor-cli: interrupted: the estimate was stopped\n";
      return run.exit_status();
    default:
      std::cerr << "kestavor-cli: " << result.error << "\n";
      return 1;
  }
}

Register reg{{"lyapunov", "FILE.pha [--json] [--quiet]",
              "largest Lyapunov exponent of an orbit file (status text, or JSON with --json)",
              run}};

}  // namespace
}  // namespace kv::cli
