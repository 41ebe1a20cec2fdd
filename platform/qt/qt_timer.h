// The window's 100 ms timer (Timer1). A tick reaches the window's handler only while the
// timer is enabled, so switching it on and off (done on every HALT poll of a running
// command) costs a single store. The underlying timer runs only while the window has work
// for a tick (set_running), so a window at rest is not woken up.
#pragma once

#include <QTimer>
#include <functional>

#include "platform/services.h"

namespace kv {

class QtTimer : public Timer {
 public:
  explicit QtTimer(int interval_ms = 100);
  void set_enabled(bool on) override { enabled_ = on; }
  bool enabled() const override { return enabled_; }
  void set_running(bool on);
  bool running() const { return timer_.isActive(); }
  // Called on each tick while enabled; the window sets it.
  std::function<void()> on_tick;

 private:
  QTimer timer_;
  bool enabled_ = true;
};

}  // namespace kv
