// HALT and Clear polling: how every long command sees a press on the HALT or Clear button
// while it runs. The pointer is tested against the two buttons' boxes in the window's
// design pixels, and the left button must be held (reported down and already seen).
// Escape pressed while a command runs counts as a press on HALT.
#pragma once

namespace kv {
struct Form1;

struct PixelBox {
  int left, top, right, bottom;  // inclusive
  bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

inline constexpr PixelBox kHaltBox{288, 711, 359, 735};
inline constexpr PixelBox kClearBox{362, 711, 431, 735};

bool halt_button(Form1& f);
bool clear_button(Form1& f);

}  // namespace kv
