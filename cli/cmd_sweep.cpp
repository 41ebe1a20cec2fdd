// kestavor-cli sweep: an orbit diagram or a Lyapunov map over one or two of the
// simulation's panel parameters, on every core (or --threads N), written as a CSV file
// (and with --png as a picture, drawn through the page module). The request is checked before any
// work; Ctrl-C acts as HALT and then replaces nothing.
#include <iostream>

#include "cli/cli_registry.h"
#ifdef KV_HAVE_QT_PRINT
#include "cli/page_module.h"
#endif
#include "cli/signal_run_control.h"
#include "cli/sweep_options.h"
#include "cli/sweep_output.h"

namespace kv::cli {
namespace {

// The picture, drawn through the page module (Qt) from the file just written.
bool draw_picture(const SweepOptions& o, std::string& error) {
#ifdef KV_HAVE_QT_PRINT
  const auto write_png =
      reinterpret_cast<KvWriteSweepPng>(load_page_module_entry(kSweepPngEntry, error));
  if (!write_png) return false;
  SweepPicture picture;
  if (!read_sweep_picture(o.out, o.request, o.png_axis, picture, error)) return false;
  return write_png(picture, 1200, 800, o.png, error);
#else
  (void)o;
  error = "pictures need a build with the window (Qt)";
  return false;
#endif
}

SweepArguments args;

int run_sweep_command() {
  if (std::string e = finish_sweep_options(args); !e.empty()) return usage_error(e);
  const SweepOptions& o = args.options;
  if (std::string e = check_sweep_output(o); !e.empty()) return usage_error(e);
  SignalRunControl run;
  run.show_progress("cells", o.quiet);
  const SweepRunner engine = [&run](const SweepRequest& r, const SweepSink& sink) {
    return run_sweep(r, run, sink);
  };
  const int status = write_sweep(
      "kestavor-cli", o, engine, KESTAVOR_VERSION, [&run] { run.end_progress(); }, draw_picture);
  return status == kSweepHalted ? run.exit_status() : status;
}

Register reg{{"sweep",
              "sweeps one or two simulation parameters: an orbit diagram or a Lyapunov map (CSV)",
              [](Options& o) { declare_sweep_options(o, args); }, run_sweep_command}};

}  // namespace
}  // namespace kv::cli
