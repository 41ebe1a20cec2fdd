// What the binding files of the Python module share: the run control a call is made
// with (Ctrl+C and the progress callback), the failures a binding throws (turned into
// Python exceptions in one place, errors.cpp), and the hand-over of C++ storage to NumPy
// arrays without a copy.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/run_control.h"
#include "simulation/sim_panel.h"

namespace kv::python {
namespace py = pybind11;

// A file that cannot be read or written, or is not what the call needs: becomes
// kestavor.FileError with `filename` and `line` (0: about the whole file, shown as None).
class FileFailure : public std::runtime_error {
 public:
  FileFailure(std::string path, const std::string& reason, int line = -1);
  const std::string& path() const { return path_; }
  int line() const { return line_; }

 private:
  std::string path_;
  int line_;
};

// The line a reader's reason names ("line 12: ..."), 0 when it names none.
int line_named_in(const std::string& reason);

// The run control of one call, made while the GIL is held and used by the engine with the
// GIL released. halt_requested() takes the GIL briefly about every 20 ms to let Python
// handle its signals (Ctrl+C raises KeyboardInterrupt there); progress() calls the
// callback at most 10 times a second. Whatever Python raised in either stops the run as
// HALT does and is raised again by finish(), once the engine has returned.
class PythonRunControl : public RunControl {
 public:
  explicit PythonRunControl(py::object progress = py::none());
  ~PythonRunControl() override;
  bool halt_requested() override;
  void progress(std::int64_t done, std::int64_t total) override;
  // True when Python asked for the stop (an exception is waiting).
  bool stopped() const { return stopped_; }
  // With the GIL held: raises what stopped the run, if anything did.
  void finish();

 private:
  void stop_with_python_error();
  py::object callback_;
  std::unique_ptr<py::error_already_set> error_;
  bool stopped_ = false;
  std::uint32_t polls_ = 0;
  std::chrono::steady_clock::time_point last_check_ = std::chrono::steady_clock::now();
  ProgressPacer pacer_;
};

// A NumPy array that takes over the vector's storage.
template <class T>
py::array_t<T> to_numpy(std::vector<T>&& values) {
  auto* owner = new std::vector<T>(std::move(values));
  py::capsule free_when_done(owner, [](void* p) { delete static_cast<std::vector<T>*>(p); });
  return py::array_t<T>(static_cast<py::ssize_t>(owner->size()), owner->data(), free_when_done);
}

// An item of a data line the program wrote, as the readers take it (a lone point is 0).
double file_value(std::string_view item);

// The panel's parameter set: the start-up texts, then those given by keyword (the
// kestavor-cli simulate option without its dashes, with underscores: drive_amplitude);
// std::invalid_argument for a keyword that names no parameter.
PanelTexts panel_texts(const std::map<std::string, std::string>& given);
const PanelBox* panel_box(const std::string& keyword);

// The binding of each engine, called by the module's initialisation.
void bind_errors(py::module_& m);
void bind_files(py::module_& m);
void bind_simulation(py::module_& m);
void bind_spectrum(py::module_& m);
void bind_chaos(py::module_& m);
void bind_decode(py::module_& m);
void bind_sweep(py::module_& m);
void bind_print(py::module_& m);

}  // namespace kv::python
