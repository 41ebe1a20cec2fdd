#include "cli/sweep_options.h"

#include <cctype>
#include <charconv>
#include <thread>

#include "cli/cli_registry.h"

namespace kv::cli {

namespace {

// The panel box of a parameter option ("--drive-amplitude"); null when none.
const PanelBox* parameter_box(const std::string& option) {
  for (const PanelBox* box : kPanelBoxes)
    if (box->option == option) return box;
  return nullptr;
}

// The box a --param value names: "drive-amplitude" or "--drive-amplitude".
const PanelBox* swept_box(const std::string& name) {
  return parameter_box(name.rfind("--", 0) == 0 ? name : "--" + name);
}

std::string parameter_names() {
  std::string s;
  for (const PanelBox* box : kPanelBoxes)
    s += (s.empty() ? "" : ", ") + std::string(box->option.substr(2));
  return s;
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

std::string sweep_usage() {
  std::string u;
  for (const PanelBox* box : kPanelBoxes) u.append("[").append(box->option).append(" TEXT] ");
  return u +
         "--param NAME --from A --to B --steps N [--param2 NAME --from2 A --to2 B --steps2 M] "
         "[--transient T] [--points K] [--follow] [--map lyapunov] [--period-tolerance D] "
         "[--period-limit P] [--threads N] -o FILE.csv [--png FILE.png [--png-axis "
         "phase|velocity]] [--quiet]";
}

std::string read_sweep_options(const std::vector<std::string>& args, SweepOptions& o) {
  SweepRequest& r = o.request;
  for (const PanelBox* box : kPanelBoxes) r.base.*(box->text) = std::string(box->start_text);
  std::string param, param2, from, to, from2, to2, steps = "1", steps2 = "1";
  std::string transient, points, threads, map, tolerance, limit, png_axis;
  ArgReader in(args);
  while (in.next()) {
    const std::string& a = in.arg();
    std::string* text = nullptr;
    if (const PanelBox* box = parameter_box(a)) {
      r.base.*(box->text) = in.value();
      continue;
    }
    if (a == "--follow") {
      r.start = SweepStart::follow;
      continue;
    }
    if (a == "--quiet") {
      o.quiet = true;
      continue;
    }
    if (a == "--param")
      text = &param;
    else if (a == "--param2")
      text = &param2;
    else if (a == "--from")
      text = &from;
    else if (a == "--to")
      text = &to;
    else if (a == "--steps")
      text = &steps;
    else if (a == "--from2")
      text = &from2;
    else if (a == "--to2")
      text = &to2;
    else if (a == "--steps2")
      text = &steps2;
    else if (a == "--transient")
      text = &transient;
    else if (a == "--points")
      text = &points;
    else if (a == "--threads")
      text = &threads;
    else if (a == "--map")
      text = &map;
    else if (a == "--period-tolerance")
      text = &tolerance;
    else if (a == "--period-limit")
      text = &limit;
    else if (a == "-o")
      text = &o.out;
    else if (a == "--png")
      text = &o.png;
    else if (a == "--png-axis")
      text = &png_axis;
    else
      return "sweep: unexpected argument " + a;
    *text = in.value();
  }
  if (in.failed()) return in.error();
  if (param.empty() || o.out.empty()) return "usage: sweep " + sweep_usage();

  const auto axis = [&](const std::string& name, const std::string& a, const std::string& b,
                        const std::string& n, const char* suffix, SweepAxis& out) {
    out.box = swept_box(name);
    const std::string s(suffix);
    if (!out.box)
      return "--param" + s + " \"" + name + "\" is not a parameter (one of " + parameter_names() +
             ")";
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
  if (map.empty()) {
    r.kind = param2.empty() ? SweepKind::orbit : SweepKind::lyapunov;
  } else if (map == "lyapunov") {
    r.kind = SweepKind::lyapunov;
  } else {
    return "--map takes \"lyapunov\" (not \"" + map + "\")";
  }
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
  if (png_axis == "velocity")
    o.png_axis = OrbitAxis::velocity;
  else if (!png_axis.empty() && png_axis != "phase")
    return "--png-axis takes \"phase\" or \"velocity\" (not \"" + png_axis + "\")";
  if (!o.png.empty()) {
    std::string ext = o.png.size() >= 4 ? o.png.substr(o.png.size() - 4) : "";
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (ext != ".png") return "--png needs a file name ending in .png (not " + o.png + ")";
  }
  if (!tolerance.empty() && !read_number(tolerance, r.period_tolerance))
    return "--period-tolerance \"" + tolerance + "\" is not a number";
  return {};
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
