// Files for the Plot file and Print tests: orbit, Poincare and spectrum files in the
// program's own line formats, in a temporary folder.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "../fft/orbit_text.h"
#include "../fft/plot_parts.h"
#include "datafiles/data_lines.h"
#include "fft/spectrum_file.h"
#include "platform/number_format.h"

namespace kv::test {

struct OrbitRecord {
  double t, phase, omega;
  long revolutions;
};

inline std::string orbit_file(const std::vector<OrbitRecord>& records, long header = -1) {
  std::string text = format_print_integer(header < 0 ? static_cast<long>(records.size()) : header) +
                     "\r\nPHASE\r\n";
  char line[160];
  for (const auto& r : records) {
    text.append(line, format_orbit_line(line, r.t, r.phase, r.omega, r.revolutions));
    text += "\r\n";
  }
  return text;
}

inline std::string poincare_file(const std::vector<std::pair<double, double>>& points) {
  std::string text = format_print_integer(static_cast<long>(points.size())) + "\r\nPOINCARE\r\n";
  char line[160];
  for (const auto& [phi, omega] : points) {
    text.append(line, format_poincare_line(line, phi, omega));
    text += "\r\n";
  }
  return text;
}

// A spectrum file of `lines` lines whose power of line j is power(j).
template <typename F>
std::string spectrum_file(int lines, F power, const std::string& window = "Welch") {
  std::string text = " 512 \r\nFFT\r\n" + window + "\r\n";
  char line[160];
  for (int j = 1; j <= lines; ++j) {
    text.append(line, format_spectrum_line(line, j, static_cast<float>(power(j))));
    text += "\r\n";
  }
  return text;
}

}  // namespace kv::test
