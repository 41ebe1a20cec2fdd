// The reply to the "Enter number of data points" box of a saving simulation run.
#pragma once

#include <optional>
#include <string_view>

#include "platform/vb_numeric.h"

namespace kv {

inline constexpr i32 kMaxSavedPoints = 1000000;

// The number of points the reply asks for: its leading number rounded to a whole number
// (halves to even; text that does not start with a number reads as 0). No value when the
// command is to end without saving: an empty reply (Cancel), a negative count, or a count
// above 1000000 (including one too large for a 32-bit integer).
std::optional<i32> point_count(std::string_view reply);

}  // namespace kv
