#include "platform/qt/qt_timer.h"

namespace kv {

QtTimer::QtTimer(int interval_ms) {
  timer_.setInterval(interval_ms);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (enabled_ && on_tick) on_tick();
  });
  timer_.start();
}

}  // namespace kv
