// The compiled part of the Python package `kestavor` (kestavor/_kestavor): one binding
// file per engine. The package's __init__.py gives these functions their Python faces
// (paths or arrays in, result objects out, docstrings).
#include "python/binding.h"

PYBIND11_MODULE(_kestavor, m) {
  m.doc() = "The engines of the Kestavor chaotic pendulum program (use the package kestavor).";
  kv::python::bind_errors(m);
  kv::python::bind_files(m);
  kv::python::bind_simulation(m);
  kv::python::bind_spectrum(m);
  kv::python::bind_chaos(m);
  kv::python::bind_decode(m);
  kv::python::bind_sweep(m);
#ifdef KV_HAVE_PAGE_MODULE
  kv::python::bind_print(m);
#endif
}
