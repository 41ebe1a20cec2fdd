#include "cli/sweep_options.h"

#include <cctype>

#include <CLI/CLI.hpp>

#include "cli/cli_registry.h"

namespace kv::cli {

void declare_sweep_options(Options& options, SweepArguments& a) {
  SweepRequest& r = a.options.request;
  for (const PanelBox* box : kPanelBoxes) r.base.*(box->text) = std::string(box->start_text);
  std::vector<std::string> names;
  for (const PanelBox* box : kPanelBoxes) {
    options.panel_box(*box, r.base.*(box->text));
    names.emplace_back(box->option.substr(2));
  }
  for (const char* s : {"", "2"}) {
    const std::string n(s);
    const bool second = n == "2";
    options.one_of("--param" + n, second ? a.texts.param2 : a.texts.param, "NAME", names,
                   second ? "a second parameter: a Lyapunov map over both"
                          : "the swept parameter, named as its option without the dashes",
                   !second);
    options.text("--from" + n, second ? a.texts.from2 : a.texts.from, "A", "its first value",
                 !second);
    options.text("--to" + n, second ? a.texts.to2 : a.texts.to, "B", "its last value", !second);
    options.text("--steps" + n, second ? a.texts.steps2 : a.texts.steps, second ? "M" : "N",
                 "how many values (default 1)");
  }
  options.text("--transient", a.texts.transient, "T",
               "drive periods left out before each cell's points");
  options.text("--points", a.texts.points, "K", "points kept per cell (one per drive period)");
  options.flag("--follow", a.texts.follow, "start each cell where the one before ended");
  options.one_of("--map", a.texts.map, "MAP", {"lyapunov"},
                 "a Lyapunov map also over one parameter", false);
  options.text("--period-tolerance", a.texts.tolerance, "D", "distance within which points repeat");
  options.text("--period-limit", a.texts.limit, "P", "the longest period looked for (1 to 100000)");
  options.text("--threads", a.texts.threads, "N", "threads to run on (default: every core)");
  options.output(a.options.out, "FILE.csv");
  options.text("--png", a.options.png, "FILE.png", "also draw the file as a picture");
  options.one_of("--png-axis", a.png_axis, "AXIS", {"phase", "velocity"},
                 "an orbit diagram's vertical axis (default phase)", false);
  options.flag("--quiet", a.options.quiet, "show no progress line");
}

std::string finish_sweep_options(SweepArguments& args) {
  SweepOptions& o = args.options;
  if (std::string e = read_sweep_texts(args.texts, o.request); !e.empty()) return e;
  if (args.png_axis == "velocity") o.png_axis = OrbitAxis::velocity;
  if (!o.png.empty()) {
    std::string ext = o.png.size() >= 4 ? o.png.substr(o.png.size() - 4) : "";
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (ext != ".png") return "--png needs a file name ending in .png (not " + o.png + ")";
  }
  return {};
}

std::string sweep_usage() {
  CLI::App app;
  SweepArguments a;
  Options options(app);
  declare_sweep_options(options, a);
  return usage_of(app);
}

std::string read_sweep_options(const std::vector<std::string>& args, SweepOptions& o) {
  CLI::App app;
  app.set_help_flag();  // the caller answers --help
  SweepArguments a;
  Options options(app);
  declare_sweep_options(options, a);
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    return cli::parse_error_text(e);
  }
  std::string error = finish_sweep_options(a);
  o = std::move(a.options);
  return error;
}

}  // namespace kv::cli
