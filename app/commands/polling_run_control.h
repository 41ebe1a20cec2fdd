// The run control of a command started from the window: HALT and Clear are seen by
// polling the pointer over the two buttons (halt_button, clear_button), as every long
// command of the window does.
#pragma once

#include "acquisition/polling.h"
#include "platform/run_control.h"

namespace kv {
struct Form1;

class PollingRunControl : public RunControl {
 public:
  explicit PollingRunControl(Form1& f) : f_(f) {}
  bool halt_requested() override { return halt_button(f_); }
  bool clear_requested() override { return clear_button(f_); }

 private:
  Form1& f_;
};

}  // namespace kv
