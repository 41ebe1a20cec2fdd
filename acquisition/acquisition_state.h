// What the acquisition keeps between samples: the open interface box, the sliding window
// of decoded angles and times the velocity is fitted over, the revolution count and the
// drive marker of the previous sample, and the velocity last fitted.
#pragma once

#include <memory>

#include "platform/interface_box.h"
#include "platform/vb_numeric.h"

namespace kv {

struct AcquisitionState {
  long device_handle = 0;
  std::unique_ptr<InterfaceBox> device;  // the open interface box, if any

  double rollover = 0;          // revolution count of the previous sample
  double initial_rollover = 0;  // raw revolution count at the second pass of a run
  i32 rollover_prev = 0;        // revolution count of the newest sample, relative
  u8 POIN_prev = 0;             // drive-marker bit of the previous sample (0 or 16)
  double angle_window[17] = {};
  double time_window[17] = {};
  i32 fit_points = 0;
  vb_bool poincare_event = kFalse;
  // The fitted velocity value V of the acquisition's last pass (kept when no fit is possible).
  double velocity = 0;
};

}  // namespace kv
