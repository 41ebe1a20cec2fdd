// Reading and writing the program's data files: `_read` gives a file's kind, header and
// columns (fft/data_file_columns.h), the writers write the exact lines the program writes
// through its safe writer (platform/text_files.h: a temporary file moved into place, so a
// failed write never replaces an older file).
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include <pybind11/stl.h>
#include "datafiles/data_lines.h"
#include "fft/data_file_columns.h"
#include "fft/spectrum_file.h"
#include "fft/spectrum_state.h"
#include "platform/number_format.h"
#include "platform/text_files.h"

#include "python/binding.h"

namespace kv::python {

namespace {

using Column = py::array_t<double, py::array::c_style | py::array::forcecast>;

const char* kind_name(DataFileKind kind) {
  switch (kind) {
    case DataFileKind::orbit:
      return "orbit";
    case DataFileKind::poincare:
      return "poincare";
    default:
      return "spectrum";
  }
}

py::tuple read(const std::string& path) {
  DataFileColumns file;
  DataFileError error;
  PythonRunControl run;
  bool ok;
  {
    py::gil_scoped_release release;
    ok = read_data_file_columns(path, file, error, run);
  }
  run.finish();
  if (!ok) throw FileFailure(path, path + ": " + error.reason, error.line);
  py::list columns;
  for (DataColumn& c : file.columns) {
    void* data = c.data.release();
    py::capsule owner(data, [](void* p) { std::free(p); });
    const auto n = static_cast<py::ssize_t>(file.records);
    if (c.single)
      columns.append(py::array_t<float>(n, static_cast<float*>(data), owner));
    else
      columns.append(py::array_t<double>(n, static_cast<double*>(data), owner));
  }
  return py::make_tuple(kind_name(file.kind), file.count, file.window, py::tuple(columns));
}

// The columns' length, refusing columns of different lengths.
std::size_t common_length(std::initializer_list<const Column*> columns) {
  const std::size_t n = static_cast<std::size_t>((*columns.begin())->size());
  for (const Column* c : columns)
    if (static_cast<std::size_t>(c->size()) != n)
      throw std::invalid_argument("the columns must have the same length (" + std::to_string(n) +
                                  " and " + std::to_string(c->size()) + " values)");
  return n;
}

i32 header_count(py::object points, std::size_t records) {
  const long long n = points.is_none() ? static_cast<long long>(records) : points.cast<long long>();
  if (n < -2147483648LL || n > 2147483647LL)
    throw std::invalid_argument("points must fit the header's 32-bit count");
  return static_cast<i32>(n);
}

// Writes the lines `line(i, buffer)` gives for i = 0..n-1 after the header lines, through
// a temporary file; FileFailure when the file cannot be written (an older one stays).
template <class Line>
void write_file(const std::string& path, std::initializer_list<std::string> header, std::size_t n,
                Line line) {
  std::string error;
  {
    py::gil_scoped_release release;
    OutputFile out;
    bool ok = out.open(path);
    for (const std::string& h : header) ok = ok && out.print_line(h);
    char buf[256];
    for (std::size_t i = 0; ok && i < n; ++i)
      ok = out.print_line(std::string_view(buf, line(i, buf)));
    if (ok && out.commit()) return;
    error = out.failed() && !out.kept_path().empty() ? out.error() + ". " + out.what_was_kept()
                                                     : out.error();
    out.discard();
  }
  throw FileFailure(path, error, 0);
}

void write_orbit(const std::string& path, py::object points, const Column& time,
                 const Column& phase, const Column& velocity, const Column& revolutions) {
  const std::size_t n = common_length({&time, &phase, &velocity, &revolutions});
  const double *t = time.data(), *p = phase.data(), *v = velocity.data(), *r = revolutions.data();
  for (std::size_t i = 0; i < n; ++i)
    if (!(r[i] == std::floor(r[i]) && std::fabs(r[i]) < 9.2e18))
      throw std::invalid_argument("revolutions[" + std::to_string(i) +
                                  "] = " + format_general15(r[i]) + " is not a whole number");
  write_file(path, {format_print_integer(header_count(points, n)), "PHASE"}, n,
             [&](std::size_t i, char* buf) {
               return format_orbit_line(buf, t[i], p[i], v[i], static_cast<std::int64_t>(r[i]));
             });
}

void write_poincare(const std::string& path, py::object points, const Column& phase,
                    const Column& velocity, bool simulated) {
  const std::size_t n = common_length({&phase, &velocity});
  const double *p = phase.data(), *v = velocity.data();
  write_file(path, {format_print_integer(header_count(points, n)), "POINCARE"}, n,
             [&](std::size_t i, char* buf) {
               return simulated ? format_sim_poincare_line(buf, p[i], v[i])
                                : format_poincare_line(buf, p[i], v[i]);
             });
}

void write_spectrum(const std::string& path,
                    const py::array_t<float, py::array::c_style | py::array::forcecast>& power,
                    const std::string& window) {
  constexpr i16 kPoints = 2048;
  const std::size_t lines = static_cast<std::size_t>(spectrum_file_lines(kPoints));
  if (static_cast<std::size_t>(power.size()) != lines)
    throw std::invalid_argument("a spectrum file holds " + std::to_string(lines) +
                                " power values, not " + std::to_string(power.size()));
  std::vector<float> spectrum(lines + 1, 0.0f);
  std::copy(power.data(), power.data() + lines, spectrum.begin() + 1);
  if (const int j = first_non_finite_line(kPoints, spectrum))
    throw std::invalid_argument("power[" + std::to_string(j - 1) + "] is not a finite number");
  write_file(path, {format_print_integer(static_cast<std::int64_t>(lines)), "FFT", window}, lines,
             [&](std::size_t i, char* buf) {
               return format_spectrum_line(buf, static_cast<int>(i) + 1, spectrum[i + 1]);
             });
}

// An orbit or Poincare file holding the given values exactly (each in its shortest
// round-trip form), for the engines that read a file when the caller has arrays.
void write_exact(const std::string& path, const std::string& kind, py::object points,
                 const std::vector<Column>& columns) {
  if (columns.empty()) throw std::invalid_argument("no columns given");
  for (const Column& c : columns)
    if (c.size() != columns[0].size())
      throw std::invalid_argument("the columns must have the same length");
  const std::size_t n = static_cast<std::size_t>(columns[0].size());
  std::vector<const double*> data;
  for (const Column& c : columns) data.push_back(c.data());
  write_file(path, {format_print_integer(header_count(points, n)), kind}, n,
             [&](std::size_t i, char* buf) {
               char* p = buf;
               for (std::size_t c = 0; c < data.size(); ++c) {
                 if (c) *p++ = ' ';
                 p = std::to_chars(p, buf + 250, data[c][i]).ptr;
               }
               return static_cast<std::size_t>(p - buf);
             });
}

}  // namespace

void bind_files(py::module_& m) {
  m.def("_read", &read, py::arg("path"));
  m.def("_write_orbit", &write_orbit, py::arg("path"), py::arg("points"), py::arg("time"),
        py::arg("phase"), py::arg("velocity"), py::arg("revolutions"));
  m.def("_write_poincare", &write_poincare, py::arg("path"), py::arg("points"), py::arg("phase"),
        py::arg("velocity"), py::arg("simulated"));
  m.def("_write_spectrum", &write_spectrum, py::arg("path"), py::arg("power"), py::arg("window"));
  m.def("_write_exact", &write_exact, py::arg("path"), py::arg("kind"), py::arg("points"),
        py::arg("columns"));
}

}  // namespace kv::python
