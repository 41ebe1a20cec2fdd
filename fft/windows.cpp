#include "fft/windows.h"

#include <cmath>

namespace kv {

namespace {
double centred(i16 n, i16 j) {
  return (j - 0.5 * (n - 1)) / (0.5 * (n + 1));
}
}  // namespace

float parzen_window(i16 n, i16 j) {
  return csng(1.0 - std::fabs(centred(n, j)));
}

float hanning_window(i16 n, i16 j) {
  return csng((1.0 - std::cos(static_cast<double>(kTwoPi) * j / n)) * 0.5);
}

float welch_window(i16 n, i16 j) {
  const double x = csng(centred(n, j));
  return csng(1.0 - x * x);
}

float window_weight(int list_index, i16 n, i16 j) {
  switch (list_index) {
    case 0:
      return parzen_window(n, j);
    case 1:
      return hanning_window(n, j);
    case 2:
      return welch_window(n, j);
    default:
      return 1.0f;
  }
}

void winn(FftArrays& a, i16 n, int list_index) {
  for (int j = 1; j <= n - 1; ++j) {
    const double w = window_weight(list_index, n, static_cast<i16>(j));
    a.data_re[j] = a.data_re[j] * w;
    a.data_im[j] = a.data_im[j] * w;
  }
}

}  // namespace kv
