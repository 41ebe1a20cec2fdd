// The range chooser of the phase plot: how many revolutions a scroll bar value spans.
#pragma once

namespace kv {

// Number of revolutions shown for a scroll bar value: 1, 3, 5, 9, 17, 33.
int revolutions_for_value(int value);

}  // namespace kv
