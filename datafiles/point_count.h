// The reply to the "Enter number of data points" box of the recordings and the saving
// simulation: its leading number rounded to a whole number, halves to even (a reply that
// does not start with a number reads as 0).
#pragma once

#include <optional>
#include <string_view>

#include "platform/vb_numeric.h"

namespace kv {

inline constexpr i32 kMaxSavedPoints = 1000000;

// Cancel: an empty reply or a negative value (the command ends); TooLarge: a value beyond
// 32 bits (the command ends silently, like a count above the limit); Ok: `n` is set.
enum class PointCountReply { Cancel, TooLarge, Ok };
PointCountReply parse_point_count(std::string_view reply, i32& n);

// The count for a command that saves at most kMaxSavedPoints points; no value when the
// command is to end instead.
std::optional<i32> point_count(std::string_view reply);

}  // namespace kv
