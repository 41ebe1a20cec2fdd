// The one place where the binding's failures become Python exceptions: FileFailure becomes
// kestavor.FileError (with `filename` and `line`), std::invalid_argument
// ValueError (pybind11's own translation), and an exception Python raised during a run
// (KeyboardInterrupt, or one from the progress callback) is raised again as it was.
#include <cctype>

#include "python/binding.h"

namespace kv::python {

namespace {
PyObject* file_error_type = nullptr;  // lives as long as the interpreter
}

FileFailure::FileFailure(std::string path, const std::string& reason, int line)
    : std::runtime_error(reason),
      path_(std::move(path)),
      line_(line < 0 ? line_named_in(reason) : line) {}

int line_named_in(const std::string& reason) {
  const std::size_t at = reason.find("line ");
  if (at == std::string::npos) return 0;
  int line = 0;
  for (std::size_t i = at + 5;
       i < reason.size() && std::isdigit(static_cast<unsigned char>(reason[i])); ++i)
    line = line * 10 + (reason[i] - '0');
  return line;
}

void bind_errors(py::module_& m) {
  file_error_type = PyErr_NewExceptionWithDoc(
      "kestavor.FileError",
      "A file that cannot be read or written, or is not what the call needs.\n\n"
      "str(error) is the reason, as kestavor-cli gives it; `filename` names the file and\n"
      "`line` the line at fault (None when the reason is about the whole file).",
      PyExc_Exception, nullptr);
  if (!file_error_type) throw py::error_already_set();
  m.add_object("FileError", py::handle(file_error_type));
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const FileFailure& e) {
      py::object error =
          py::reinterpret_steal<py::object>(PyObject_CallFunction(file_error_type, "s", e.what()));
      if (!error) return;  // the call's own exception is set
      error.attr("filename") = e.path();
      error.attr("line") = e.line() > 0 ? py::object(py::int_(e.line())) : py::object(py::none());
      PyErr_SetObject(file_error_type, error.ptr());
    }
  });
}

PythonRunControl::PythonRunControl(py::object progress) : callback_(std::move(progress)) {}

PythonRunControl::~PythonRunControl() = default;

void PythonRunControl::stop_with_python_error() {
  error_ = std::make_unique<py::error_already_set>();
  stopped_ = true;
}

bool PythonRunControl::halt_requested() {
  if (stopped_) return true;
  if (++polls_ % 256 != 0) return false;
  const auto now = std::chrono::steady_clock::now();
  if (now - last_check_ < std::chrono::milliseconds(20)) return false;
  last_check_ = now;
  py::gil_scoped_acquire gil;
  if (PyErr_CheckSignals() != 0) stop_with_python_error();
  return stopped_;
}

void PythonRunControl::progress(std::int64_t done, std::int64_t total) {
  if (callback_.is_none() || stopped_ || !pacer_.tick()) return;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
  if (!pacer_.due(ms)) return;
  py::gil_scoped_acquire gil;
  try {
    callback_(done, total);
  } catch (py::error_already_set& e) {
    error_ = std::make_unique<py::error_already_set>(std::move(e));
    stopped_ = true;
  }
}

void PythonRunControl::finish() {
  if (!error_) return;
  py::error_already_set e = *error_;
  error_.reset();
  throw e;
}

}  // namespace kv::python
