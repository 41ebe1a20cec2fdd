#include "fft/segment_average.h"

#include <algorithm>

#include "fft/windows.h"

namespace kv {

std::int64_t offered_maximum(i32 number_of_points) {
  return number_of_points > 0 ? number_of_points / kRecordsPerSegment : 0;
}

OrbitReader::Status average_segments(OrbitReader& in, std::int64_t segments, int list_index,
                                     FftArrays& work, float* spectrum, RunControl* run) {
  float sum[kSpectrumLines + 1];
  std::copy(spectrum, spectrum + kSpectrumLines + 1, sum);
  const double divisor = static_cast<double>(segments + 1);
  for (std::int64_t s = 1; s <= segments; ++s) {
    for (int j = 0; j < kSamplesRead; ++j) {
      float v = 0;
      OrbitReader::Status st = in.read_velocity(v, kDecimation);
      if (st != OrbitReader::Status::ok) return st;
      work.data_re[j] = v / kRadPerSecPerV;
      work.data_im[j] = 0;
    }
    winn(work, kSpectrumPoints, list_index);
    power_spectrum(work, kSpectrumPoints, kSampleInterval);
    for (int j = 1; j <= kSpectrumLines; ++j) sum[j] = csng(sum[j] + 10 * work.fft_re[j] / divisor);
    if (run) run->progress(s, segments);
  }
  std::copy(sum, sum + kSpectrumLines + 1, spectrum);
  return OrbitReader::Status::ok;
}

}  // namespace kv
