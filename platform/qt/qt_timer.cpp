#include "platform/qt/qt_timer.h"

namespace kv {

QtTimer::QtTimer(int interval_ms) {
  timer_.setInterval(interval_ms);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (enabled_ && on_tick) on_tick();
  });
}

void QtTimer::set_running(bool on) {
  if (on && !timer_.isActive()) timer_.start();
  if (!on && timer_.isActive()) timer_.stop();
}

}  // namespace kv
