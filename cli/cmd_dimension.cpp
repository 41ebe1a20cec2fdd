// kestavor-cli dimension: the capacity dimension of a Poincare file, printed as the status
// text of the window shows it, or as one JSON object with --json.
#include <cmath>
#include <cstdio>
#include <iostream>

#include "chaos/dimension.h"
#include "cli/cli_registry.h"
#include "platform/run_control.h"
#include "plot/plot_state.h"

namespace kv::cli {
namespace {

struct Arguments {
  std::string path;
  bool json = false;
} opt;

void declare(Options& o) {
  o.file(opt.path, "FILE.poi", "the Poincare file");
  o.flag("--json", opt.json, "print one JSON object");
}

int run() {
  const std::string& path = opt.path;
  const bool json = opt.json;
  PlotState plots;
  RunToEnd run_to_end;
  const DimensionOutcome out =
      capacity_dimension_of_file(plots, DimensionRequest{path}, run_to_end);
  if (out.text.empty()) {  // nothing was counted
    std::cerr << "kestavor-cli: " << out.reason << "\n";
    return exit_status(out);
  }
  if (json) {
    std::string d = "null";
    if (!std::isnan(out.dimension)) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.17g", out.dimension);
      d = buf;
    }
    std::cout << "{\"capacity_dimension\": " << d << ", \"points\": " << out.points
              << ", \"box_totals\": [";
    for (std::size_t e = 0; e < out.box_totals.size(); ++e)
      std::cout << (e ? ", " : "") << out.box_totals[e];
    std::cout << "]}\n";
  } else {
    std::string text = out.text;
    const std::size_t crlf = text.find("\r\n");
    if (crlf != std::string::npos) text.replace(crlf, 2, "\n");
    std::cout << text << "\n";
  }
  if (!out.reason.empty()) std::cerr << "kestavor-cli: " << out.reason << "\n";
  return exit_status(out);
}

Register reg{{"dimension",
              "capacity dimension of a Poincare file (status text, or JSON with --json)", declare,
              run}};

}  // namespace
}  // namespace kv::cli
