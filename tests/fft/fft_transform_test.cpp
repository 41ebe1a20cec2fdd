// The transform and the power step: exact results on constant input, a pure cosine,
// agreement with a direct DFT, Parseval's relation, the single-precision temporary of the
// bit reversal, and repeatability.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "fft/fft.h"
#include "fft/windows.h"

namespace kv {
namespace {

constexpr i16 N = 2048;
constexpr double kPi = 3.14159265358979323846;

std::unique_ptr<FftArrays> arrays() {
  return std::make_unique<FftArrays>();
}

// Deterministic pseudo-random samples in [-1, 1).
double noise(unsigned& state) {
  state = state * 1664525u + 1013904223u;
  return (state >> 8) / 8388608.0 - 1.0;
}

TEST(FftTransform, ConstantInputPutsAllPowerInBinZero) {
  auto a = arrays();
  for (int j = 0; j <= 2048; ++j) a->data_re[j] = 1.5;
  winn(*a, N, 3);  // "Square"
  power_spectrum(*a, N, 0.05f);
  EXPECT_EQ(a->fft_re[0], 1.5 * 1.5);
  for (int j = 1; j <= 1024; ++j) ASSERT_EQ(a->fft_re[j], 0.0) << "bin " << j;
  for (int k = 0; k <= 1024; ++k)
    ASSERT_FLOAT_EQ(static_cast<float>(a->fft_im[k]), k / (2048 * 0.05f)) << "bin " << k;
  EXPECT_EQ(a->fft_im[1], static_cast<double>(static_cast<float>(1 / 102.4)));
}

TEST(FftTransform, CosineOf64PeriodsGivesHalfTheSquaredAmplitude) {
  auto a = arrays();
  const double amp = 3.0;
  for (int t = 0; t < 2048; ++t) a->data_re[t] = amp * std::cos(2 * kPi * 64 * t / 2048);
  power_spectrum(*a, N, 0.05f);
  EXPECT_NEAR(a->fft_re[64], amp * amp / 2, 1e-5);
  for (int j = 0; j <= 1024; ++j) {
    if (j == 64) continue;
    ASSERT_LT(a->fft_re[j], 1e-10) << "bin " << j;
  }
}

TEST(FftTransform, MatchesDirectDftAndKeepsParseval) {
  for (i16 n : {i16{2}, i16{8}, i16{64}, i16{2048}}) {
    auto a = arrays();
    unsigned seed = 12345u + n;
    for (int t = 0; t < n; ++t) {
      a->data_re[t] = noise(seed);
      a->data_im[t] = noise(seed);
    }
    fft_transform(*a, n);
    double worst = 0;
    for (int k = 0; k < n; k += (n > 64 ? 97 : 1)) {
      double re = 0, im = 0;
      for (int t = 0; t < n; ++t) {
        const double w = -2 * kPi * static_cast<double>(t) * k / n;
        re += a->data_re[t] * std::cos(w) - a->data_im[t] * std::sin(w);
        im += a->data_re[t] * std::sin(w) + a->data_im[t] * std::cos(w);
      }
      worst = std::max({worst, std::fabs(re - a->fft_re[k]), std::fabs(im - a->fft_im[k])});
    }
    EXPECT_LT(worst, 1e-5 * std::sqrt(n)) << "n = " << n;
  }

  // Parseval with the 1/N^2 factor: the power of all bins is the mean square (real input).
  auto a = arrays();
  unsigned seed = 99u;
  double mean_square = 0;
  for (int t = 0; t < 2048; ++t) {
    a->data_re[t] = noise(seed);
    mean_square += a->data_re[t] * a->data_re[t] / 2048;
  }
  power_spectrum(*a, N, 0.05f);
  double total = 0;
  for (int j = 0; j <= 1024; ++j) total += a->fft_re[j];
  EXPECT_NEAR(total / mean_square, 1.0, 1e-6);
}

TEST(FftTransform, BitReversalMovesValuesThroughSinglePrecision) {
  // With N = 4 the elements 1 and 2 are exchanged. The value leaving position 1 is
  // rounded to float on its way; the value leaving position 2 is copied unchanged. Both
  // reach bin 0 without any multiplication.
  const double x = 1.0 + std::ldexp(1.0, -40);
  auto a = arrays();
  a->data_re[1] = x;
  fft_transform(*a, 4);
  EXPECT_EQ(a->fft_re[0], 1.0);

  auto b = arrays();
  b->data_re[2] = x;
  fft_transform(*b, 4);
  EXPECT_EQ(b->fft_re[0], x);
}

TEST(FftTransform, RepeatedCallsGiveIdenticalResultsAndKeepTheInput) {
  auto a = arrays();
  unsigned seed = 7u;
  for (int t = 0; t <= 2048; ++t) a->data_re[t] = noise(seed) * 100;
  winn(*a, N, 1);
  double input[kFftArraySize];
  std::memcpy(input, a->data_re, sizeof input);
  power_spectrum(*a, N, 0.05f);
  double first_re[kFftArraySize], first_im[kFftArraySize];
  std::memcpy(first_re, a->fft_re, sizeof first_re);
  std::memcpy(first_im, a->fft_im, sizeof first_im);
  power_spectrum(*a, N, 0.05f);
  EXPECT_EQ(std::memcmp(first_re, a->fft_re, sizeof first_re), 0);
  EXPECT_EQ(std::memcmp(first_im, a->fft_im, sizeof first_im), 0);
  EXPECT_EQ(std::memcmp(input, a->data_re, sizeof input), 0);
}

TEST(FftTransform, RefusesSizesTheArraysCannotHold) {
  auto a = arrays();
  EXPECT_THROW(fft_transform(*a, 4096), std::out_of_range);
  EXPECT_THROW(fft_transform(*a, 1000), std::out_of_range);
  EXPECT_THROW(fft_transform(*a, 1), std::out_of_range);
}

TEST(FftWindows, DesignFigures) {
  EXPECT_EQ(parzen_window(2048, 1023), static_cast<float>(1 - 0.5 / 1024.5));
  EXPECT_EQ(parzen_window(2048, 1023), parzen_window(2048, 1024));
  EXPECT_NEAR(parzen_window(2048, 0), 1 - 1023.5 / 1024.5, 1e-7);
  const double x = static_cast<float>(1023.5 / 1024.5);
  EXPECT_EQ(welch_window(2048, 0), static_cast<float>(1 - x * x));
  EXPECT_NEAR(welch_window(2048, 0), 1 - (1023.5 / 1024.5) * (1023.5 / 1024.5), 1e-7);
  EXPECT_EQ(hanning_window(2048, 0), 0.0f);
  EXPECT_EQ(hanning_window(2048, 1024), 1.0f);
  EXPECT_NEAR(hanning_window(2048, 512), 0.5f, 1e-7);
  // Weights are single precision: the Hanning weight of sample 1 is a float.
  const double h1 = (1 - std::cos(static_cast<double>(6.2831855f) / 2048)) * 0.5;
  EXPECT_EQ(hanning_window(2048, 1), static_cast<float>(h1));
  EXPECT_NE(static_cast<double>(hanning_window(2048, 1)), h1);
}

TEST(FftWindows, WinnWeightsSamplesOneToNMinusOneOnly) {
  for (int index : {0, 1, 2, 3, -1}) {
    auto a = arrays();
    for (int j = 0; j <= 2048; ++j) a->data_re[j] = a->data_im[j] = 2.0;
    winn(*a, N, index);
    EXPECT_EQ(a->data_re[0], 2.0) << "sample 0 keeps weight 1, window " << index;
    EXPECT_EQ(a->data_re[2048], 2.0) << "sample N is not windowed";
    for (int j = 1; j <= 2047; ++j) {
      const double w = window_weight(index, N, static_cast<i16>(j));
      ASSERT_EQ(a->data_re[j], 2.0 * w) << "window " << index << " sample " << j;
      ASSERT_EQ(a->data_im[j], 2.0 * w);
    }
  }
  EXPECT_EQ(window_weight(1, N, 1), hanning_window(N, 1));
  EXPECT_EQ(window_weight(3, N, 1), 1.0f);
}

}  // namespace
}  // namespace kv
