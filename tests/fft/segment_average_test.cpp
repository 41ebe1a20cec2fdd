// Averaging of segments: which records become samples, the weight 10/(S+1) with the sum
// rounded to single precision, the offered maximum, and files that end early. (A field
// that is not a number: FftEnding, through the command.)
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "fft/segment_average.h"
#include "fft/windows.h"
#include "tests/support/data_files.h"

namespace kv {
namespace {

// A velocity that differs from record to record, so a wrong decimation shows.
double velocity_of(long record) {
  return std::sin(record * 0.37) * 2 + std::cos(record * 0.011);
}

// Power of segment s (1-based) computed directly from the velocities of the records that
// should be its samples: records 36882 (s - 1) + 18 (j + 1) for j = 0..2048.
std::vector<double> segment_power(int s, int list_index) {
  auto a = std::make_unique<FftArrays>();
  for (int j = 0; j <= 2048; ++j) {
    const long record = 36882L * (s - 1) + 18L * (j + 1);
    // The file holds the velocity rounded to 4 places; the reader takes it as a float.
    const float v = std::stof(format_pattern(velocity_of(record), "#0.0###"));
    a->data_re[j] = v / 0.1569673;
  }
  winn(*a, 2048, list_index);
  power_spectrum(*a, 2048, 0.05f);
  return std::vector<double>(a->fft_re, a->fft_re + 1025);
}

// The average of `segments` segments of an orbit file's text with window `window`, into a
// spectrum filled with `fill` before.
struct Averaged {
  OrbitReader::Status status;
  long long records;
  std::vector<float> spectrum;
};
Averaged average(const std::string& text, int segments, int window, float fill = 0.0f) {
  OrbitReader in(text);
  double n;
  std::string word;
  in.read_number(n);
  in.read_word(word);
  auto work = std::make_unique<FftArrays>();
  std::vector<float> spectrum(2049, fill);
  const auto status = average_segments(in, segments, window, *work, spectrum.data());
  return {status, in.records(), spectrum};
}

// The offer counts the segments a file can give: each reads 2049 samples, one every 18th
// record (36882 records), not 2048 x 18.
TEST(SegmentAverage, OfferedMaximum) {
  EXPECT_EQ(offered_maximum(36881), 0);
  EXPECT_EQ(offered_maximum(36882), 1);
  EXPECT_EQ(offered_maximum(73728), 1);  // 2 x 36864: one whole segment, not two
  EXPECT_EQ(offered_maximum(73764), 2);
  EXPECT_EQ(offered_maximum(147456), 3);
  EXPECT_EQ(offered_maximum(1000000), 27);
  EXPECT_EQ(offered_maximum(0), 0);
  EXPECT_EQ(offered_maximum(-5), 0);
}

TEST(SegmentAverage, OneSegmentGivesFiveTimesThePower) {
  const std::string text = test::orbit_text(73728, 36882 + 5, velocity_of);
  for (int window : {0, 1, 2, 3}) {
    const Averaged a = average(text, 1, window);
    ASSERT_EQ(a.status, OrbitReader::Status::ok);
    EXPECT_EQ(a.records, 36882);
    const std::vector<float>& spectrum = a.spectrum;
    const std::vector<double> p = segment_power(1, window);
    for (int j = 1; j <= 1024; ++j)
      ASSERT_EQ(spectrum[j], static_cast<float>(0.0f + 10 * p[j] / 2))
          << "window " << window << " line " << j;
    EXPECT_EQ(spectrum[0], 0.0f);
    EXPECT_EQ(spectrum[1025], 0.0f);
  }
}

TEST(SegmentAverage, SegmentsFollowEachOtherAndSumInSinglePrecision) {
  const Averaged a = average(test::orbit_text(110592, 2 * 36882, velocity_of), 2, 1);
  ASSERT_EQ(a.status, OrbitReader::Status::ok);
  const std::vector<float>& spectrum = a.spectrum;
  const std::vector<double> p1 = segment_power(1, 1), p2 = segment_power(2, 1);
  for (int j = 1; j <= 1024; ++j) {
    const float after_first = static_cast<float>(0.0f + 10 * p1[j] / 3);
    ASSERT_EQ(spectrum[j], static_cast<float>(after_first + 10 * p2[j] / 3)) << "line " << j;
  }
}

TEST(SegmentAverage, FileEndingEarlyLeavesTheSpectrumUntouched) {
  const Averaged a = average(test::orbit_text(110592, 36882 + 20000, velocity_of), 2, 0, 7.0f);
  EXPECT_EQ(a.status, OrbitReader::Status::end);
  EXPECT_EQ(a.records, 36882 + 20000);
  for (int j = 0; j <= 2048; ++j) ASSERT_EQ(a.spectrum[j], 7.0f);
}

}  // namespace
}  // namespace kv
