// The spectrum file (*.fft): a line with the number of spectrum lines (" 512 "), "FFT",
// the window name, then one line per spectrum line j = 1..512: the frequency j / 73.728
// in "###.########", a blank, the power in "###.#########".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/vb_numeric.h"

namespace kv {
class OutputFile;

// Number of spectrum lines in the file: fft_points \ 4 (both operands of fft_points \ 4.4
// rounded to whole numbers first).
int spectrum_file_lines(i16 fft_points);

// Frequency of spectrum line j in cycles per second: ((j / 2048) / 18) / 0.002.
double spectrum_line_frequency(int j);

// One data line; `out` needs at least 100 bytes. The power is the single-precision value
// widened exactly to double before its pattern is applied.
std::size_t format_spectrum_line(char* out, int j, float power);

// The first spectrum line (1-based) whose power is not a finite number (an overflow in
// the average), 0 when every line of the file is finite: such a spectrum is not written.
int first_non_finite_line(i16 fft_points, const std::vector<float>& spectrum);

// Writes the whole file into `out` (already open). False after a write error, or without
// writing anything when a power is not finite (see first_non_finite_line).
bool write_spectrum_lines(OutputFile& out, i16 fft_points, const std::string& window,
                          const std::vector<float>& spectrum);

}  // namespace kv
