// The spectrum file (*.fft) reader on any spectrum lines: the input follows a spectrum
// file's three header lines, so every input reaches the lines' numbers (see
// fuzz_plot_file.h for the properties).
#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_plot_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  plot_bytes(" 512 \r\nFFT\r\nWelch\r\n" + std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
