// The averaged spectrum of an orbit file's velocity: the signal is taken from every 18th
// record, cut into segments of 2048 samples (2049 read per segment), each segment is
// windowed and transformed, and the segment spectra are summed with the weight 10/(S+1).
#pragma once

#include <cstdint>

#include "datafiles/orbit_reader.h"
#include "datafiles/pendulum_units.h"
#include "fft/fft.h"
#include "platform/run_control.h"

namespace kv {

inline constexpr i16 kSpectrumPoints = 2048;  // samples per segment
inline constexpr int kDecimation = 18;        // orbit records per sample
inline constexpr int kSamplesRead = 2049;     // samples read per segment
inline constexpr long kRecordsPerSegment = static_cast<long>(kSamplesRead) * kDecimation;
inline constexpr float kSampleInterval = 0.05f;
inline constexpr int kSpectrumLines = 1024;  // spectrum(1..1024) is filled

// Number of segments offered for a file of `number_of_points` records: the count of whole
// segments of kRecordsPerSegment (36882) records, the records one segment reads. (Dividing
// by 2048 x 18 = 36864 instead offered, for some counts, a segment the file cannot give.)
std::int64_t offered_maximum(i32 number_of_points);

// Reads `segments` segments from `in` (placed after the two header items) and adds each
// segment's power, times 10 / (segments + 1), to spectrum[1..1024] with the sum rounded
// to single precision. The sums are formed aside and stored into `spectrum` only when
// every segment was read whole, so a file that ends early (status end: in.records() then
// holds its number of whole records) or holds a field that is not a number (status bad)
// leaves `spectrum` untouched. `run`, when given, hears of every segment done.
OrbitReader::Status average_segments(OrbitReader& in, std::int64_t segments, int list_index,
                                     FftArrays& work, float* spectrum, RunControl* run = nullptr);

}  // namespace kv
