// Print's file reading on any bytes: orbit, Poincare and spectrum files and anything else
// (see fuzz_plot_file.h for the properties).
#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_plot_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  plot_bytes(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
