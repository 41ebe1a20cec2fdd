#include "simulation/point_count.h"

#include "platform/list_input.h"

namespace kv {

std::optional<i32> point_count(std::string_view reply) {
  if (reply.empty()) return std::nullopt;
  const double n = round_half_even(leading_number(reply));
  if (!(n >= 0 && n <= kMaxSavedPoints)) return std::nullopt;
  return static_cast<i32>(n);
}

}  // namespace kv
