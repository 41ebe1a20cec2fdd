#include "sweep/sweep_texts.h"

#include <charconv>

namespace kv {

namespace {

// A whole number read from a text, or the message that stands in its place.
struct Count {
  long long value = 0;
  std::string error;  // empty when `value` was read
};

Count parse_count(const std::string& field, const std::string& text) {
  long long v = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size())
    return {0, field + " needs a whole number, not \"" + text + "\""};
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

const PanelBox* swept_box(std::string_view name) {
  for (const PanelBox* box : kPanelBoxes)
    if (box->option.substr(2) == name) return box;
  return nullptr;
}

std::string read_sweep_texts(const SweepTexts& t, SweepRequest& r, const SweepFieldName& name) {
  const auto field = [&name](const std::string& option) { return name ? name(option) : option; };
  if (t.follow) r.start = SweepStart::follow;
  const auto axis = [&](const std::string& param, const std::string& a, const std::string& b,
                        const std::string& n, const char* suffix, SweepAxis& out) {
    out.box = swept_box(param);
    const std::string s(suffix);
    if (!out.box) return field("--param" + s) + " \"" + param + "\" is not a parameter";
    if (a.empty() || b.empty())
      return field("--param" + s) + " needs " + field("--from" + s) + " and " + field("--to" + s);
    if (!read_number(a, out.from)) return field("--from" + s) + " \"" + a + "\" is not a number";
    if (!read_number(b, out.to)) return field("--to" + s) + " \"" + b + "\" is not a number";
    const Count c = parse_count(field("--steps" + s), n);
    if (!c.error.empty()) return c.error;
    out.steps = c.value;
    return std::string();
  };
  if (std::string e = axis(t.param, t.from, t.to, t.steps, "", r.x); !e.empty()) return e;
  if (!t.param2.empty()) {
    if (std::string e = axis(t.param2, t.from2, t.to2, t.steps2, "2", r.y); !e.empty()) return e;
  } else if (!t.from2.empty() || !t.to2.empty() || t.steps2 != "1") {
    return field("--from2") + ", " + field("--to2") + " and " + field("--steps2") + " need " +
           field("--param2");
  }
  r.kind = t.map.empty() && t.param2.empty() ? SweepKind::orbit : SweepKind::lyapunov;
  const auto count = [&](const std::string& option, const std::string& text, std::int64_t& v) {
    if (text.empty()) return std::string();
    const Count c = parse_count(field(option), text);
    if (c.error.empty()) v = c.value;
    return c.error;
  };
  std::int64_t n_threads = 0, n_limit = r.period_limit;
  for (const std::string& e :
       {count("--transient", t.transient, r.transient), count("--points", t.points, r.kept),
        count("--threads", t.threads, n_threads), count("--period-limit", t.limit, n_limit)})
    if (!e.empty()) return e;
  if (!t.threads.empty() && (n_threads < 1 || n_threads > 4096))
    return field("--threads") + " needs a number from 1 to 4096";
  r.threads = static_cast<unsigned>(n_threads);
  if (n_limit < 1 || n_limit > 100000)
    return field("--period-limit") + " needs a number from 1 to 100000";
  r.period_limit = static_cast<int>(n_limit);
  if (!t.tolerance.empty() && !read_number(t.tolerance, r.period_tolerance))
    return field("--period-tolerance") + " \"" + t.tolerance + "\" is not a number";
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

}  // namespace kv
