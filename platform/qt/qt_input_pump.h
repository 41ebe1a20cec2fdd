// The pointer and the event pump of the Qt window.
//
// An application-wide event filter records the pointer position and the left button as
// the window system reports them. While a command holds input (hold_input), every user
// input event (mouse presses, releases and double clicks, keys, the wheel, window close)
// is held back so that no other handler runs inside the command; Escape is turned into a
// HALT request instead. When the command ends the held events are replayed in their
// original order, each as its own queued step, so a click made during a run reaches its
// handler after the run. pump_if_due lets a running command process window events (paints,
// timers, the recorded pointer) at most once per screen frame; a background ticker, running
// only while a command holds input, sets the "due" flag so the check in the hot loop is a
// single relaxed atomic load.
#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/services.h"

class QEvent;

namespace kv {

class QtInputPump : public QObject, public Pointer, public EventPump {
  Q_OBJECT

 public:
  // Needs a QCoreApplication; installs itself as the application's event filter.
  explicit QtInputPump(int frame_ms = 16);
  ~QtInputPump() override;

  // Maps a global screen position to design pixels; the window sets it. Without one the
  // pointer reports (-1, -1).
  void set_mapper(std::function<DesignPoint(QPointF global)> mapper);
  // Runs before the pump processes events, so the view can mirror the model first.
  void set_before_events(std::function<void()> hook);

  // Commands nest these: while held, user input is recorded and held back.
  void begin_hold();
  void end_hold();
  bool holding() const { return hold_depth_ > 0 && suspended_ == 0; }
  // True while input held back by a finished command waits to be replayed. The window's
  // 100 ms tick waits for this to clear, so late clicks come before the tick.
  bool replaying() const { return !held_.empty() || replay_posted_; }
  // Number of input events held back and not yet replayed.
  std::size_t held_count() const { return held_.size(); }

  // Lets input through while a modal dialog is open inside a command (the window system
  // blocks input to the other windows itself).
  class Suspend {
   public:
    explicit Suspend(QtInputPump* p) : p_(p) {
      if (p_) p_->suspend();
    }
    ~Suspend() {
      if (p_) p_->resume();
    }
    Suspend(const Suspend&) = delete;
    Suspend& operator=(const Suspend&) = delete;

   private:
    QtInputPump* p_;
  };

  // Pointer
  DesignPoint cursor_pos() override;
  std::int16_t async_left_button() override;
  bool take_escape() override;
  void forget_press() override;

  // EventPump
  void pump_if_due() override {
    if (!due_.load(std::memory_order_relaxed)) return;
    pump_now();
  }
  void repaint() override { pump_now(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void customEvent(QEvent* event) override;

 private:
  struct Held {
    QPointer<QObject> target;
    std::unique_ptr<QEvent> event;
    std::uint64_t seq = 0;
  };
  void pump_now();
  void note_position(QPointF global);
  std::uint64_t hold(QObject* target, const QEvent* event);
  void post_replay();
  void ticker_loop(int frame_ms);
  void set_ticking(bool on);
  // A modal dialog opens: the view shows the command's state first, and the ticker sleeps
  // until the dialog is closed (nothing polls the pump meanwhile).
  void suspend();
  void resume();

  std::function<DesignPoint(QPointF)> mapper_;
  std::function<void()> before_events_;
  QPointF global_pos_{-1e9, -1e9};
  bool pos_known_ = false;
  bool pos_cached_ = false;
  DesignPoint cached_{};
  bool left_down_ = false;
  bool left_fresh_ = false;
  bool escape_ = false;
  // The held left press of the button now down (0: none), and whether its release is to
  // be dropped because a poll acted on the press.
  std::uint64_t press_seq_ = 0;
  bool drop_release_ = false;
  std::uint64_t next_seq_ = 1;

  int hold_depth_ = 0;
  int suspended_ = 0;
  bool in_pump_ = false;
  int replay_at_depth_ = -1;  // hold depth at which a held event is being delivered now
  std::deque<Held> held_;
  bool replay_posted_ = false;

  std::atomic<bool> due_{false};
  std::mutex ticker_mutex_;
  std::condition_variable ticker_cv_;
  bool ticker_stop_ = false;
  bool ticking_ = false;  // a command holds input
  std::thread ticker_;
};

}  // namespace kv
