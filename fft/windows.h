// The window functions of the spectrum and winn, which applies the window chosen in the
// window list to the input samples. Weights are single-precision values.
#pragma once

#include <string_view>

#include "fft/fft.h"
#include "platform/vb_numeric.h"

namespace kv {

// Entries of the window list, in list order (ListIndex 0..3).
inline constexpr std::string_view kWindowNames[4] = {"Parzen", "Hanning", "Welch", "Square"};

// Triangle: 1 - |(j - (n-1)/2) / ((n+1)/2)|.
float parzen_window(i16 n, i16 j);
// (1 - cos(6.2831855 j / n)) / 2.
float hanning_window(i16 n, i16 j);
// 1 - x^2 with x = (j - (n-1)/2) / ((n+1)/2) rounded to single precision.
float welch_window(i16 n, i16 j);

// Weight of sample j for list entry `list_index`: 1 for "Square" and for an index that
// names no window.
float window_weight(int list_index, i16 n, i16 j);

// Multiplies data_re(j) and data_im(j) by the weight of the chosen window for j = 1..n-1.
// Sample 0 keeps weight 1 whatever the window.
void winn(FftArrays& a, i16 n, int list_index);

}  // namespace kv
