#include "fft/fft.h"

#include <cmath>
#include <stdexcept>

namespace kv {

bool valid_fft_points(int n) {
  return n >= 2 && n <= 2048 && (n & (n - 1)) == 0;
}

void fft_transform(FftArrays& a, i16 n) {
  if (!valid_fft_points(n)) throw std::out_of_range("FFT size must be a power of two 2..2048");
  double* re = a.fft_re;
  double* im = a.fft_im;
  for (int i = 0; i < kFftArraySize; ++i) {
    re[i] = a.data_re[i];
    im[i] = a.data_im[i];
  }

  // Bit-reversal permutation. The value leaving position i goes through a float
  // temporary; the value coming from j is copied unchanged.
  int j = 0;
  for (int i = 0; i <= n - 2; ++i) {
    if (i < j) {
      float t = csng(re[i]);
      re[i] = re[j];
      re[j] = t;
      t = csng(im[i]);
      im[i] = im[j];
      im[j] = t;
    }
    int k = n / 2;
    while (k <= j) {
      j -= k;
      k /= 2;
    }
    j += k;
  }

  int stages = 0;
  for (int c = n; c != 1; c /= 2) ++stages;

  // Twiddle factors exp(-2 pi i q / n): the angle and the sine in single precision, the
  // cosine in double precision.
  float sin_tab[kFftArraySize];
  double cos_tab[kFftArraySize];
  const float theta = csng(static_cast<double>(kTwoPi) / n);
  for (int i = 0; i < n; ++i) {
    float angle = csng(static_cast<double>(theta) * i);
    sin_tab[i] = csng(-std::sin(static_cast<double>(angle)));
    cos_tab[i] = std::cos(static_cast<double>(angle));
  }

  int le = 2, half = 1;
  for (int stage = 1; stage <= stages; ++stage) {
    const int step = n / le;
    int k = 0;
    for (int jj = 0; jj < half; ++jj) {
      const double c = cos_tab[k];
      const double s = sin_tab[k];
      for (int i = jj; i < n; i += le) {
        const int ip = i + half;
        double t_re, t_im;
        if (jj == 0) {
          t_re = re[ip];
          t_im = im[ip];
        } else {
          t_re = re[ip] * c - im[ip] * s;
          t_im = re[ip] * s + im[ip] * c;
        }
        re[ip] = re[i] - t_re;
        im[ip] = im[i] - t_im;
        re[i] = re[i] + t_re;
        im[i] = im[i] + t_im;
      }
      k += step;
    }
    le *= 2;
    half *= 2;
  }
}

void power_spectrum(FftArrays& a, i16 n, float delta) {
  const double f = csng(1.0 / n / n);
  fft_transform(a, n);
  double* re = a.fft_re;
  double* im = a.fft_im;
  const int h = n / 2;
  re[0] = (re[0] * re[0] + im[0] * im[0]) * f;
  for (int j = 1; j < h; ++j) {
    re[j] = f * ((re[j] * re[j] + im[j] * im[j]) + (re[n - j] * re[n - j] + im[n - j] * im[n - j]));
  }
  re[h] = (re[h] * re[h] + im[h] * im[h]) * f;
  const float period = csng(static_cast<double>(static_cast<float>(n)) * delta);
  for (int k = 0; k <= h; ++k) im[k] = csng(k / static_cast<double>(period));
}

}  // namespace kv
