// The window's answer to a running command: HALT and Clear are buttons the user holds the
// mouse on while the command runs. The pointer is tested against the two buttons' boxes in
// the window's design pixels, and the left button must be held (reported down and already
// seen). Escape pressed while a command runs counts as a press on HALT. Every poll of HALT
// also gives the window its chance to process events (the bounded pump) and keeps the
// controls a run needs in their running state.
#pragma once

#include "platform/run_control.h"

namespace kv {
struct Form1;

struct PixelBox {
  int left, top, right, bottom;  // inclusive
  bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

inline constexpr PixelBox kHaltBox{288, 711, 359, 735};
inline constexpr PixelBox kClearBox{362, 711, 431, 735};

// One poll of HALT: hides the range control and its text, pumps window events when due,
// tests the pointer and Escape, enables "Clear" and keeps Timer1 running.
bool halt_button(Form1& f);
// One poll of Clear: hides the range control and its text and tests the pointer.
bool clear_button(Form1& f);

// The run control of every command started from the window (and of the tests that drive
// the window's polling through a scripted pointer).
class WindowRunControl : public RunControl {
 public:
  explicit WindowRunControl(Form1& f) : f_(f) {}
  bool halt_requested() override { return halt_button(f_); }
  bool clear_requested() override { return clear_button(f_); }

 private:
  Form1& f_;
};

}  // namespace kv
