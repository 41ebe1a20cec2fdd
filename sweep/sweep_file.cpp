#include "sweep/sweep_file.h"

#include "datafiles/data_lines.h"

namespace kv {

namespace {

std::string unit_of(const PanelBox* b) {
  std::string u(b->unit);
  while (!u.empty() && u.front() == ' ') u.erase(0, 1);
  return u;
}

std::string axis_line(const char* which, const SweepAxis& a) {
  return std::string("# ") + which + ": " + std::string(a.box->caption) + " (" + unit_of(a.box) +
         ") from " + value_text(a.from) + " to " + value_text(a.to) + ", " +
         std::to_string(a.steps) + " values\n";
}

}  // namespace

std::string sweep_header(const SweepRequest& r, std::string_view version,
                         std::string_view command) {
  std::string h = "# Kestavor pendulum sweep, program version " + std::string(version) + "\n";
  if (r.kind == SweepKind::orbit)
    h += "# orbit diagram: Poincare points transient+1 .. transient+kept of every value "
         "(phase = angle - 3.14159 in radian, velocity in rad/s, as in a Poincare file)\n";
  else
    h += "# Lyapunov map: largest exponent (1/s) from the variational equations, period = "
         "distinct kept points within " +
         value_text(r.period_tolerance) + " (up to " + std::to_string(r.period_limit) +
         ", else chaotic)\n";
  h += "# base panel:";
  for (const PanelBox* b : kPanelBoxes)
    h += " " + std::string(b->caption) + "\"" + r.base.*(b->text) + "\"";
  h += "\n" + axis_line("x", r.x);
  if (r.y.box) h += axis_line("y", r.y);
  h += "# transient " + std::to_string(r.transient) + ", kept " + std::to_string(r.kept) +
       ", start " + (r.start == SweepStart::follow ? "follow" : "fresh") + "\n";
  if (!command.empty()) h += "# command: " + std::string(command) + "\n";
  if (r.kind == SweepKind::orbit)
    h += "parameter,phase,velocity\n";
  else
    h += r.y.box ? "x,y,exponent,period\n" : "x,exponent,period\n";
  return h;
}

void append_cell_rows(const SweepRequest& r, const SweepCell& c, std::string& out) {
  std::string key = c.x_text;
  if (r.y.box) key += "," + c.y_text;
  if (r.kind == SweepKind::orbit) {
    if (c.state != CellState::ok) {
      out += key + ",,\n";
      return;
    }
    char line[96];
    for (const SweepPoint& p : c.points) {
      const std::size_t n = format_sim_poincare_line(line, p.phase, p.velocity);
      out += key;
      out += ',';
      for (std::size_t i = 0; i < n; ++i) out += line[i] == ' ' ? ',' : line[i];
      out += '\n';
    }
    return;
  }
  out += key + ",";
  if (c.state == CellState::unstable)
    out += ",unstable\n";
  else if (c.state == CellState::refused)
    out += ",refused\n";
  else
    out += value_text(c.exponent) + "," + (c.period ? std::to_string(c.period) : "chaotic") + "\n";
}

std::string sweep_summary(const SweepOutcome& o) {
  return "# " + std::to_string(o.cells) + " cells, " + std::to_string(o.unstable) + " blew up, " +
         std::to_string(o.refused) + " refused\n";
}

bool SweepCsv::open(const std::string& path, const SweepRequest& r, std::string_view version,
                    std::string_view command) {
  request_ = &r;
  if (!file_.open(path)) return false;
  const std::string h = sweep_header(r, version, command);
  return file_.write_raw(h.data(), h.size());
}

bool SweepCsv::write(const SweepCell& c) {
  rows_.clear();
  append_cell_rows(*request_, c, rows_);
  return file_.write_raw(rows_.data(), rows_.size());
}

bool SweepCsv::keep(const SweepOutcome& o) {
  const std::string s = sweep_summary(o);
  if (!file_.write_raw(s.data(), s.size())) {
    file_.commit();
    return false;
  }
  return file_.commit();
}

std::string SweepCsv::error() const {
  return file_.error();
}

}  // namespace kv
