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

Register reg{{"lyapunov", "FILE.pha [--json] [--quiet]",
              "largest Lyapunov exponent of an orbit file (status text, or JSON with --json)",
              run}};

}  // namespace
}  // namespace kv::cli
