// The numerical core of the spectrum: an in-place radix-2 FFT over fixed arrays of 2049
// elements and the one-sided power spectrum with its frequency scale.
//
// The arrays hold doubles; the values the transform defines in single precision (the
// 2-pi constant, the angle step and angles, the sine factors, the bit-reversal
// temporary, 1/N^2 and the frequencies) are rounded to float where they arise, because
// the last printed digits of a spectrum file depend on them.
#pragma once

#include "platform/vb_numeric.h"

namespace kv {

inline constexpr int kFftArraySize = 2049;  // indexes 0..2048
inline constexpr float kTwoPi = 6.2831855f;

struct FftArrays {
  double data_re[kFftArraySize] = {};  // input samples (windowed in place by winn)
  double data_im[kFftArraySize] = {};
  double fft_re[kFftArraySize] = {};  // transform; after power_spectrum: power 0..N/2
  double fft_im[kFftArraySize] = {};  // transform; after power_spectrum: frequency 0..N/2
};

// True when n is a power of two from 2 to 2048 (the sizes the arrays can hold).
bool valid_fft_points(int n);

// Copies data_re/data_im (all 2049 elements) into fft_re/fft_im and transforms elements
// 0..n-1 in place: X(k) = sum over t of x(t) exp(-2 pi i t k / n), unscaled. The inputs
// are left unchanged. Throws std::out_of_range when n is not a valid size.
void fft_transform(FftArrays& a, i16 n);

// Transforms, then replaces fft_re(0..n/2) by the one-sided power (Parseval with the
// 1/n^2 factor) and fft_im(0..n/2) by the frequency k / (n * delta) of each bin.
void power_spectrum(FftArrays& a, i16 n, float delta);

}  // namespace kv
