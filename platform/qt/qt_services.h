// The Qt services of the window in one bundle: dialogs, the pointer and event pump, the
// monotonic clock, the help viewer and Timer1. Create it after the QApplication.
#pragma once

#include "platform/clock.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_input_pump.h"
#include "platform/qt/qt_timer.h"

namespace kv {

struct QtServices {
  QtInputPump pump;
  QtDialogs dialogs{&pump};
  SystemClock clock;
  QtHelpViewer help;
  QtTimer timer1;

  Services services();
};

}  // namespace kv
