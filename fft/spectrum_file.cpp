#include "fft/spectrum_file.h"

#include <cmath>
#include <string_view>

#include "platform/number_format.h"
#include "platform/text_files.h"

namespace kv {

namespace {
const NumberPattern kFrequencyPattern = NumberPattern::parse("###.########");
const NumberPattern kPowerPattern = NumberPattern::parse("###.#########");
}  // namespace

int spectrum_file_lines(i16 fft_points) {
  return fft_points / cint(4.4);
}

double spectrum_line_frequency(int j) {
  return ((j / 2048.0) / 18) / 0.002;
}

std::size_t format_spectrum_line(char* out, int j, float power) {
  std::size_t n = format_pattern(out, spectrum_line_frequency(j), kFrequencyPattern);
  out[n++] = ' ';
  n += format_pattern(out + n, static_cast<double>(power), kPowerPattern);
  return n;
}

int first_non_finite_line(i16 fft_points, const std::vector<float>& spectrum) {
  const int lines = spectrum_file_lines(fft_points);
  for (int j = 1; j <= lines && j < static_cast<int>(spectrum.size()); ++j)
    if (!std::isfinite(spectrum[j])) return j;
  return 0;
}

bool write_spectrum_lines(OutputFile& out, i16 fft_points, const std::string& window,
                          const std::vector<float>& spectrum) {
  if (first_non_finite_line(fft_points, spectrum) != 0) return false;
  const int lines = spectrum_file_lines(fft_points);
  if (!out.print_line(format_print_integer(lines)) || !out.print_line("FFT") ||
      !out.print_line(window))
    return false;
  char buf[128];
  for (int j = 1; j <= lines; ++j) {
    const float power = j < static_cast<int>(spectrum.size()) ? spectrum[j] : 0.0f;
    if (!out.print_line(std::string_view(buf, format_spectrum_line(buf, j, power)))) return false;
  }
  return true;
}

}  // namespace kv
