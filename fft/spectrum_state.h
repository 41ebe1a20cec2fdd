// The spectrum on screen: its window, its length and its values, and whether the screen
// shows it (Print then makes the spectrum page).
#pragma once

#include <string>
#include <vector>

#include "platform/vb_numeric.h"

namespace kv {

struct SpectrumState {
  std::string window;         // FFT window of the spectrum on screen
  vb_bool FFT_flag = kFalse;  // the screen shows a spectrum
  i16 fft_points = 0;
  std::vector<float> spectrum = std::vector<float>(2049, 0.0f);
};

}  // namespace kv
