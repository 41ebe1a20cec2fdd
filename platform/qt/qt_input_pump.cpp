#include "platform/qt/qt_input_pump.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <chrono>

namespace kv {

namespace {
// Posted to the pump itself to replay the oldest held event.
const QEvent::Type kReplayEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

bool is_held_input(QEvent::Type t) {
  switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Close:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}
}  // namespace

QtInputPump::QtInputPump(int frame_ms) {
  if (auto* app = QCoreApplication::instance()) app->installEventFilter(this);
  ticker_ = std::thread([this, frame_ms] { ticker_loop(frame_ms); });
}

QtInputPump::~QtInputPump() {
  {
    std::lock_guard<std::mutex> lock(ticker_mutex_);
    ticker_stop_ = true;
  }
  ticker_cv_.notify_all();
  ticker_.join();
  if (auto* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

// The ticker runs only while a command holds input: a window at rest is not woken up.
void QtInputPump::ticker_loop(int frame_ms) {
  std::unique_lock<std::mutex> lock(ticker_mutex_);
  while (!ticker_stop_) {
    if (!ticking_) {
      ticker_cv_.wait(lock, [this] { return ticker_stop_ || ticking_; });
      continue;
    }
    ticker_cv_.wait_for(lock, std::chrono::milliseconds(frame_ms),
                        [this] { return ticker_stop_ || !ticking_; });
    if (!ticker_stop_ && ticking_) due_.store(true, std::memory_order_relaxed);
  }
}

void QtInputPump::set_ticking(bool on) {
  {
    std::lock_guard<std::mutex> lock(ticker_mutex_);
    ticking_ = on;
  }
  ticker_cv_.notify_all();
}

void QtInputPump::set_mapper(std::function<DesignPoint(QPointF)> mapper) {
  mapper_ = std::move(mapper);
  pos_cached_ = false;
}

void QtInputPump::set_before_events(std::function<void()> hook) {
  before_events_ = std::move(hook);
}

void QtInputPump::suspend() {
  if (suspended_++ == 0) {
    if (before_events_) before_events_();
    set_ticking(false);
  }
}

void QtInputPump::resume() {
  if (--suspended_ == 0 && hold_depth_ > 0) set_ticking(true);
}

void QtInputPump::begin_hold() {
  if (hold_depth_ == 0) {
    escape_ = false;
    press_seq_ = 0;
    drop_release_ = false;
    // The first poll of a command processes the window's events, as it did when the
    // ticker ran all the time.
    due_.store(true, std::memory_order_relaxed);
    set_ticking(true);
  }
  ++hold_depth_;
}

void QtInputPump::end_hold() {
  if (hold_depth_ == 0) return;
  --hold_depth_;
  if (hold_depth_ == 0) {
    set_ticking(false);
    if (!held_.empty()) post_replay();
  }
}

void QtInputPump::post_replay() {
  if (replay_posted_) return;
  replay_posted_ = true;
  QCoreApplication::postEvent(this, new QEvent(kReplayEvent));
}

void QtInputPump::customEvent(QEvent* event) {
  if (event->type() != kReplayEvent) return;
  replay_posted_ = false;
  // A command started by an earlier replayed click is still running: its end replays the
  // rest, in order.
  if (hold_depth_ > 0 || held_.empty()) return;
  Held h = std::move(held_.front());
  held_.pop_front();
  if (h.target) {
    const int saved = replay_at_depth_;
    replay_at_depth_ = hold_depth_;
    QCoreApplication::sendEvent(h.target, h.event.get());
    replay_at_depth_ = saved;
  }
  if (!held_.empty() && hold_depth_ == 0) post_replay();
}

std::uint64_t QtInputPump::hold(QObject* target, const QEvent* event) {
  const std::uint64_t seq = next_seq_++;
  held_.push_back(Held{QPointer<QObject>(target), std::unique_ptr<QEvent>(event->clone()), seq});
  return seq;
}

void QtInputPump::forget_press() {
  if (press_seq_ != 0) {
    for (auto it = held_.begin(); it != held_.end(); ++it) {
      if (it->seq == press_seq_) {
        held_.erase(it);
        break;
      }
    }
    press_seq_ = 0;
  }
  // The press was seen down by the poll, so its release is still to come.
  drop_release_ = left_down_;
}

void QtInputPump::note_position(QPointF global) {
  if (!pos_known_ || global != global_pos_) pos_cached_ = false;
  global_pos_ = global;
  pos_known_ = true;
}

bool QtInputPump::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type t = event->type();
  // Events that a finished command held back are being delivered now: pass them on and
  // do not mistake them for the pointer's present state.
  const bool replay = replay_at_depth_ == hold_depth_;
  switch (t) {
    case QEvent::MouseMove: {
      if (!replay) note_position(static_cast<QMouseEvent*>(event)->globalPosition());
      // No pointer handlers run inside a command; the move is only recorded.
      return holding();
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (!replay) {
        note_position(me->globalPosition());
        if (me->button() == Qt::LeftButton) {
          if (t == QEvent::MouseButtonRelease) {
            left_down_ = false;
          } else {
            left_down_ = true;
            left_fresh_ = true;
          }
        }
      }
      break;
    }
    case QEvent::Leave:
      if (!replay && watched->isWindowType()) {
        pos_known_ = false;
        pos_cached_ = false;
      }
      return false;
    case QEvent::HoverMove:
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::ToolTip:
      return holding();
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      if (holding() && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (t == QEvent::KeyPress) escape_ = true;
        return true;  // taken as HALT; not replayed
      }
      break;
    default:
      break;
  }
  if (!holding() || !is_held_input(t)) return false;
  // A close the user asks for arrives through the event queue, that is inside the pump;
  // the program closing one of its own windows (the help viewer) is not held.
  if (t == QEvent::Close && !in_pump_) return false;
  // A press a poll acted on is not replayed, nor is the release that ends it.
  const bool left_button = (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick ||
                            t == QEvent::MouseButtonRelease) &&
                           static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
  if (left_button && t == QEvent::MouseButtonRelease && drop_release_) {
    drop_release_ = false;
    return true;
  }
  // The window system delivers input to the top-level window first, which passes it on to
  // the widget under the pointer; holding it at the first stop is enough.
  const std::uint64_t seq = hold(watched, event);
  if (left_button) press_seq_ = t == QEvent::MouseButtonRelease ? 0 : seq;
  return true;
}

DesignPoint QtInputPump::cursor_pos() {
  if (!pos_known_ || !mapper_) return DesignPoint{};
  if (!pos_cached_) {
    cached_ = mapper_(global_pos_);
    pos_cached_ = true;
  }
  return cached_;
}

std::int16_t QtInputPump::async_left_button() {
  if (!left_down_) {
    const bool was = left_fresh_;
    left_fresh_ = false;
    return was ? 1 : 0;
  }
  if (left_fresh_) {
    left_fresh_ = false;
    return static_cast<std::int16_t>(-32767);
  }
  return static_cast<std::int16_t>(-32768);
}

bool QtInputPump::take_escape() {
  const bool e = escape_;
  escape_ = false;
  return e;
}

void QtInputPump::pump_now() {
  due_.store(false, std::memory_order_relaxed);
  if (in_pump_) return;
  in_pump_ = true;
  pos_cached_ = false;  // the window may have moved or been resized since
  if (before_events_) before_events_();
  // Outside a command nothing holds input back, so leave it queued for the event loop.
  QCoreApplication::processEvents(hold_depth_ > 0 ? QEventLoop::AllEvents
                                                  : QEventLoop::ExcludeUserInputEvents);
  in_pump_ = false;
}

}  // namespace kv
