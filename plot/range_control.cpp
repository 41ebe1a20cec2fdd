#include "plot/range_control.h"

#include <cmath>

#include "platform/vb_numeric.h"

namespace kv {

int revolutions_for_value(int value) {
  i32 n = clng(std::pow(2.0, value) + 1);
  return n == 2 ? 1 : n;
}

}  // namespace kv
