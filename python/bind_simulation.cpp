// simulate: the simulation's "Continue" as kestavor-cli simulate runs it (the panel's
// start-up texts, then the ones given, on the state groups a window starts with), with a
// save file that keeps every data line as numbers (read from the line's text, so they are
// those of the file to the bit) and, when a path is given, writes the file as well.
#include <pybind11/stl.h>

#include <charconv>
#include <string_view>

#include "datafiles/save_state.h"
#include "datafiles/short_decimal.h"
#include "fft/data_file_columns.h"
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

// The run's save file: the lines become columns; `file`, when given, writes them too. The
// columns are allocated for the points asked for (huge pages for large ones: filling them
// then costs few page faults) and handed to NumPy as they are.
class ColumnSaveFile final : public SimSaveFile {
 public:
  explicit ColumnSaveFile(SimSaveFile* file) : file_(file) {}
  bool open(const std::string& path, i32 n, std::string_view kind, std::string& error) override {
    columns_.clear();
    columns_.resize(kind == "PHASE" ? 4 : 2);
    capacity_ = std::max<std::size_t>(static_cast<std::size_t>(std::max(n, 0)), 1);
    size_ = 0;
    for (Column& c : columns_) {
      c.reset(static_cast<double*>(allocate_column(capacity_ * sizeof(double))));
      if (!c) throw std::bad_alloc();
    }
    if (file_ && !file_->open(path, n, kind, error)) return file_failed_ = true, false;
    return true;
  }
  bool write(std::string_view line) override {
    if (size_ == capacity_) grow();
    const char* p = line.data();
    const char* const end = p + line.size();
    for (Column& c : columns_) {
      const char* item = p;
      while (p != end && *p != ' ') ++p;
      c.get()[size_] = file_value({item, static_cast<std::size_t>(p - item)});
      if (p != end) ++p;
    }
    ++size_;
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
  // The columns as NumPy arrays owning their storage.
  py::list arrays() {
    py::list out;
    for (Column& c : columns_) {
      double* data = c.release();
      py::capsule owner(data, [](void* p) { std::free(p); });
      out.append(py::array_t<double>(static_cast<py::ssize_t>(size_), data, owner));
    }
    return out;
  }

 private:
  struct Free {
    void operator()(double* p) const { std::free(p); }
  };
  using Column = std::unique_ptr<double, Free>;
  void grow() {
    capacity_ += capacity_ / 2 + 1;
    for (Column& c : columns_) {
      void* grown = std::realloc(c.get(), capacity_ * sizeof(double));
      if (!grown) throw std::bad_alloc();
      (void)c.release();
      c.reset(static_cast<double*>(grown));
    }
  }
  SimSaveFile* file_;
  std::vector<Column> columns_;
  std::size_t size_ = 0, capacity_ = 0;
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
  return py::make_tuple(plots.number_of_points, py::tuple(columns.arrays()));
}

}  // namespace

double file_value(std::string_view item) {
  double v = 0;
  if (short_decimal(item.data(), item.data() + item.size(), v)) return v;
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
