// kestavor-cli sweep: an orbit diagram or a Lyapunov map over one or two of the
// simulation's panel parameters, on every core (or --threads N), written as a CSV file
// (and with --png as a picture). The request is checked before any work; Ctrl-C acts as
// HALT and then replaces nothing.
#include <iostream>

#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "cli/sweep_options.h"
#include "cli/sweep_output.h"

namespace kv::cli {
namespace {

int run_sweep_command(const std::vector<std::string>& args) {
  SweepOptions o;
  if (std::string e = read_sweep_options(args, o); !e.empty()) return fail(e);
  if (std::string e = check_sweep_output(o); !e.empty()) return fail(e);
  SignalRunControl run;
  run.show_progress("cells", o.quiet);
  const SweepRunner engine = [&run](const SweepRequest& r, const SweepSink& sink) {
    return run_sweep(r, run, sink);
  };
  const int status = write_sweep(o, engine, KESTAVOR_VERSION, [&run] { run.end_progress(); });
  return status == kSweepHalted ? run.exit_status() : status;
}

Register reg{{"sweep", sweep_usage(),
              "sweeps one or two simulation parameters: an orbit diagram or a Lyapunov map (CSV)",
              run_sweep_command}};

}  // namespace
}  // namespace kv::cli
