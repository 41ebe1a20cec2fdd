// What a long command asks of whoever started it while it runs: whether the user wants it
// to stop (HALT, Escape, Ctrl-C, SIGTERM) or the phase plot restarted (Clear), and where to
// report how far it is. Engines take a RunControl& and never look at a window: the window
// answers from its HALT and Clear polling, kestavor-cli from a signal flag, tests from a
// script.
#pragma once

#include <algorithm>
#include <cstdint>

namespace kv {

class RunControl {
 public:
  virtual ~RunControl() = default;
  // Polled once per pass of a loop that can be stopped; true ends the run as HALT does.
  virtual bool halt_requested() = 0;
  // Polled where a command can restart its phase plot; true means Clear was pressed.
  virtual bool clear_requested() { return false; }
  // How far the run is: `done` of `total` units (total 0 when not known in advance).
  // Called often; an implementation decides how often it shows anything.
  virtual void progress(std::int64_t /*done*/, std::int64_t /*total*/) {}
};

// Decides cheaply when a progress report is worth showing, for run controls whose
// progress() is called once per point: the caller reads its clock only when tick() says
// so, every `stride` calls (at most 4096), the stride doubling while the reads come less
// than 10 ms apart and shrinking at once to fit ~30 ms when they come more than 50 ms
// apart; due() then says whether `interval_ms`
// has passed since the last report shown (the first report is always due).
class ProgressPacer {
 public:
  explicit ProgressPacer(std::int64_t interval_ms = 100) : interval_ms_(interval_ms) {}
  bool tick() { return --countdown_ <= 0; }
  bool due(std::int64_t now_ms) {
    if (read_ && now_ms - last_read_ < 10 && stride_ < 4096) stride_ *= 2;
    // Reads too far apart: the stride that would have put them ~30 ms apart.
    if (read_ && now_ms - last_read_ > 50)
      stride_ = std::max<std::int64_t>(1, stride_ * 30 / (now_ms - last_read_));
    read_ = true;
    last_read_ = now_ms;
    countdown_ = stride_;
    if (shown_ && now_ms - last_shown_ < interval_ms_) return false;
    shown_ = true;
    last_shown_ = now_ms;
    return true;
  }
  std::int64_t stride() const { return stride_; }

 private:
  std::int64_t interval_ms_;
  std::int64_t stride_ = 1, countdown_ = 1;
  std::int64_t last_read_ = 0, last_shown_ = 0;
  bool read_ = false, shown_ = false;
};

// A run nobody stops: for tests and for calls that must run to their end.
class RunToEnd : public RunControl {
 public:
  bool halt_requested() override { return false; }
};

}  // namespace kv
