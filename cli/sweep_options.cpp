#include "cli/sweep_options.h"

#include <cctype>
#include <charconv>
#include <thread>

#include <CLI/CLI.hpp>

#include "cli/cli_registry.h"

namespace kv::cli {

namespace {

// The panel box a --param value names ("drive-amplitude"); null when none.
const PanelBox* swept_box(const std::string& name) {
  for (const PanelBox* box : kPanelBoxes)
    if (box->option.substr(2) == name) return box;
  return nullptr;
}

// A whole number read from the arguments, or the usage error that stands in its place.
struct Count {
  long long value = 0;
  std::string error;  // empty when `value` was read
};

// `text` as a whole number, or a readable usage error naming `option`.
Count parse_count(const std::string& option, const std::string& text) {
  long long v = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size())
    return {0, option + " needs a whole number, not \"" + text + "\""};
  return {v, {}};
}

bool read_number(const std::string& text, double& v) {
  const char* b = text.data();
  const char* e = b + text.size();
  if (b != e && *b == '+') ++b;
  const auto r = std::from_chars(b, e, v);
  return r.ec == std::errc() && r.ptr == e && b != e;
}

// `text` as one argument of a shell command line.
std::string quoted(const std::string& text) {
  if (!text.empty() && text.find_first_of(" \t'\"\\$`*?;&|<>()#~") == std::string::npos)
    return text;
  std::string q = "'";
  for (char ch : text) q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return q + "'";
}

std::string option_of(const PanelBox* box) {
  return box ? std::string(box->option) : std::string();
}

}  // namespace

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
    options.one_of("--param" + n, second ? a.param2 : a.param, "NAME", names,
                   second ? "a second parameter: a Lyapunov map over both"
                          : "the swept parameter, named as its option without the dashes",
                   !second);
    options.text("--from" + n, second ? a.from2 : a.from, "A", "its first value", !second);
    options.text("--to" + n, second ? a.to2 : a.to, "B", "its last value", !second);
    options.text("--steps" + n, second ? a.steps2 : a.steps, second ? "M" : "N",
                 "how many values (default 1)");
  }
  options.text("--transient", a.transient, "T", "drive periods left out before each cell's points");
  options.text("--points", a.points, "K", "points kept per cell (one per drive period)");
  options.flag("--follow", a.follow, "start each cell where the one before ended");
  options.one_of("--map", a.map, "MAP", {"lyapunov"}, "a Lyapunov map also over one parameter",
                 false);
  options.text("--period-tolerance", a.tolerance, "D", "distance within which points repeat");
  options.text("--period-limit", a.limit, "P", "the longest period looked for (1 to 100000)");
  options.text("--threads", a.threads, "N", "threads to run on (default: every core)");
  options.output(a.options.out, "FILE.csv");
  options.text("--png", a.options.png, "FILE.png", "also draw the file as a picture");
  options.one_of("--png-axis", a.png_axis, "AXIS", {"phase", "velocity"},
                 "an orbit diagram's vertical axis (default phase)", false);
  options.flag("--quiet", a.options.quiet, "show no progress line");
}

std::string finish_sweep_options(SweepArguments& args) {
  SweepOptions& o = args.options;
  SweepRequest& r = o.request;
  const std::string &param = args.param, &param2 = args.param2, &from = args.from, &to = args.to,
                    &from2 = args.from2, &to2 = args.to2, &steps = args.steps,
                    &steps2 = args.steps2, &transient = args.transient, &points = args.points,
                    &threads = args.threads, &map = args.map, &tolerance = args.tolerance,
                    &limit = args.limit, &png_axis = args.png_axis;
  if (args.follow) r.start = SweepStart::follow;

  const auto axis = [&](const std::string& name, const std::string& a, const std::string& b,
                        const std::string& n, const char* suffix, SweepAxis& out) {
    out.box = swept_box(name);
    const std::string s(suffix);
    if (!out.box) return "--param" + s + " \"" + name + "\" is not a parameter";
    if (a.empty() || b.empty()) return "--param" + s + " needs --from" + s + " and --to" + s;
    if (!read_number(a, out.from)) return "--from" + s + " \"" + a + "\" is not a number";
    if (!read_number(b, out.to)) return "--to" + s + " \"" + b + "\" is not a number";
    const Count c = parse_count("--steps" + s, n);
    if (!c.error.empty()) return c.error;
    out.steps = c.value;
    return std::string();
  };
  if (std::string e = axis(param, from, to, steps, "", r.x); !e.empty()) return e;
  if (!param2.empty()) {
    if (std::string e = axis(param2, from2, to2, steps2, "2", r.y); !e.empty()) return e;
  } else if (!from2.empty() || !to2.empty() || steps2 != "1") {
    return "--from2, --to2 and --steps2 need --param2";
  }
  r.kind = map.empty() && param2.empty() ? SweepKind::orbit : SweepKind::lyapunov;
  const auto count = [](const std::string& option, const std::string& text, std::int64_t& v) {
    if (text.empty()) return std::string();
    const Count c = parse_count(option, text);
    if (c.error.empty()) v = c.value;
    return c.error;
  };
  std::int64_t n_threads = 0, n_limit = r.period_limit;
  for (const std::string& e :
       {count("--transient", transient, r.transient), count("--points", points, r.kept),
        count("--threads", threads, n_threads), count("--period-limit", limit, n_limit)})
    if (!e.empty()) return e;
  if (!threads.empty() && (n_threads < 1 || n_threads > 4096))
    return "--threads needs a number from 1 to 4096";
  r.threads = static_cast<unsigned>(n_threads);
  if (n_limit < 1 || n_limit > 100000) return "--period-limit needs a number from 1 to 100000";
  r.period_limit = static_cast<int>(n_limit);
  if (png_axis == "velocity") o.png_axis = OrbitAxis::velocity;
  if (!o.png.empty()) {
    std::string ext = o.png.size() >= 4 ? o.png.substr(o.png.size() - 4) : "";
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (ext != ".png") return "--png needs a file name ending in .png (not " + o.png + ")";
  }
  if (!tolerance.empty() && !read_number(tolerance, r.period_tolerance))
    return "--period-tolerance \"" + tolerance + "\" is not a number";
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

std::string repeat_command(const SweepRequest& r) {
  std::string c = "kestavor-cli sweep";
  for (const PanelBox* box : kPanelBoxes)
    c += " " + std::string(box->option) + " " + quoted(r.base.*(box->text));
  const auto axis = [&](const SweepAxis& a, const char* suffix) {
    std::string s(suffix);
    c += " --param" + s + " " + option_of(a.box).substr(2) + " --from" + s + " " +
         value_text(a.from) + " --to" + s + " " + value_text(a.to) + " --steps" + s + " " +
         std::to_string(a.steps);
  };
  axis(r.x, "");
  if (r.y.box) axis(r.y, "2");
  c += " --transient " + std::to_string(r.transient) + " --points " + std::to_string(r.kept);
  if (r.start == SweepStart::follow) c += " --follow";
  if (r.kind == SweepKind::lyapunov)
    c += " --map lyapunov --period-tolerance " + value_text(r.period_tolerance) +
         " --period-limit " + std::to_string(r.period_limit);
  return c;
}

}  // namespace kv::cli
