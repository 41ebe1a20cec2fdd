// simulate: the simulation's "Continue" as kestavor-cli simulate runs it (the panel's
// start-up texts, then the ones given, on the state groups a window starts with), with a
// save file that keeps every data line as numbers (read from the line's text, so they are
// those of the file to the bit) and, when a path is given, writes the file as well.
#include <pybind11/stl.h>

#include <charconv>
#include <string_view>

#include "datafiles/save_state.h"
#include "platform/clock.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
#include "python/binding.h"
#include "simulation/sim_continue.h"
#include "simulation/sim_panel.h"
#include "simulation/sim_save_file.h"
#include "simulation/simulation_state.h"

namespace kv::python {

namespace {

// The run's save file: the lines become columns; `file`, when given, writes them too.
class ColumnSaveFile final : public SimSaveFile {
 public:
  explicit ColumnSaveFile(SimSaveFile* file) : file_(file) {}
  bool open(const std::string& path, i32 n, std::string_view kind, std::string& error) override {
    columns_.assign(kind == "PHASE" ? 4 : 2, {});
    for (auto& c : columns_) c.reserve(static_cast<std::size_t>(std::max(n, 0)));
    if (file_ && !file_->open(path, n, kind, error)) return file_failed_ = true, false;
    return true;
  }
  bool write(std::string_view line) override {
    std::size_t at = 0;
    for (auto& c : columns_) {
      const std::size_t blank = std::min(line.find(' ', at), line.size());
      c.push_back(file_value(line.substr(at, blank - at)));
      at = blank + 1;
    }
    if (file_ && !file_->write(line)) return file_failed_ = true, false;
    return true;
  }
  bool keep(std::string* error) override {
    if (file_ && !file_->keep(error)) return file_failed_ = true, false;
    return true;
  }
  void discard() override {
    if (file_) file_->discard();
  }
  bool file_failed() const { return file_failed_; }
  std::vector<std::vector<double>>& columns() { return columns_; }

 private:
  SimSaveFile* file_;
  std::vector<std::vector<double>> columns_;
  bool file_failed_ = false;
};

py::tuple simulate(bool orbit, long long points, const std::map<std::string, std::string>& panel,
                   const std::string& path, bool real_time, py::object progress) {
  if (points < 0 || points > 1000000)
    throw std::invalid_argument("the number of points must be from 0 to 1000000, not " +
                                std::to_string(points));
  SimRequest request;
  request.panel = panel_texts(panel);
  request.options.real_time = real_time;
  request.options.computer_time = !real_time;
  request.options.phase_file = orbit;
  request.options.poincare_file = !orbit;
  request.points = static_cast<i32>(points);
  request.path = path;

  SystemClock system_clock;
  ComputerClock computer_clock;
  Clock& clock = real_time ? static_cast<Clock&>(system_clock) : computer_clock;
  SimulationState sim;
  set_default_parameters(sim);
  PlotState plots;
  SaveState save_state;
  FileTable files;
  DataSaveFile file(save_state, files);
  ColumnSaveFile columns(path.empty() ? nullptr : &file);
  DecoderState plotted_point;
  const SimContext context{sim, plots, save_state, columns, clock, plotted_point};

  PythonRunControl run(std::move(progress));
  SimOutcome outcome;
  {
    py::gil_scoped_release release;
    outcome = simulate(context, request, run);
  }
  run.finish();
  if (outcome.halted())  // not Python's doing: cannot happen, but say so
    throw std::runtime_error("the simulation was stopped and nothing was saved");
  if (!outcome.done()) {
    if (columns.file_failed()) throw FileFailure(path, outcome.reason, 0);
    if (!outcome.ran) throw std::invalid_argument(outcome.reason);
    throw std::runtime_error(outcome.reason);
  }
  py::list arrays;
  for (auto& c : columns.columns()) arrays.append(to_numpy(std::move(c)));
  return py::make_tuple(plots.number_of_points, py::tuple(arrays));
}

}  // namespace

double file_value(std::string_view item) {
  double v = 0;
  if (item.empty() || item == "." || item == "-.") return 0;
  const char* b = item.data();
  std::from_chars(b + (*b == '+'), b + item.size(), v);
  return v;
}

static std::string keyword_of(const PanelBox& box) {
  std::string name(box.option.substr(2));
  for (char& ch : name)
    if (ch == '-') ch = '_';
  return name;
}

const PanelBox* panel_box(const std::string& keyword) {
  for (const PanelBox* box : kPanelBoxes)
    if (keyword_of(*box) == keyword) return box;
  throw std::invalid_argument("the panel has no parameter " + keyword);
}

PanelTexts panel_texts(const std::map<std::string, std::string>& given) {
  PanelTexts texts;
  for (const PanelBox* box : kPanelBoxes) texts.*(box->text) = std::string(box->start_text);
  for (const auto& [keyword, text] : given) texts.*(panel_box(keyword)->text) = text;
  return texts;
}

void bind_simulation(py::module_& m) {
  m.def("_simulate", &simulate, py::arg("orbit"), py::arg("points"), py::arg("panel"),
        py::arg("path"), py::arg("real_time"), py::arg("progress"));
  py::list names;
  for (const PanelBox* box : kPanelBoxes)
    names.append(py::make_tuple(keyword_of(*box), std::string(box->start_text)));
  m.attr("_panel_defaults") = py::tuple(names);
}

}  // namespace kv::python
