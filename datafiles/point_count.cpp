#include "datafiles/point_count.h"

#include <cmath>

#include "platform/list_input.h"

namespace kv {

PointCountReply parse_point_count(std::string_view reply, i32& n) {
  if (reply.empty()) return PointCountReply::Cancel;
  const double value = round_half_even(leading_number(reply));
  if (std::isnan(value) || value < 0) return PointCountReply::Cancel;
  if (value > 2147483647.0) return PointCountReply::TooLarge;
  n = static_cast<i32>(value);
  return PointCountReply::Ok;
}

std::optional<i32> point_count(std::string_view reply) {
  i32 n = 0;
  if (parse_point_count(reply, n) != PointCountReply::Ok || n > kMaxSavedPoints)
    return std::nullopt;
  return n;
}

}  // namespace kv
