// What a long command asks of whoever started it while it runs: whether the user wants it
// to stop (HALT, Escape, Ctrl-C, SIGTERM) or the phase plot restarted (Clear), and where to
// report how far it is. Engines take a RunControl& and never look at a window: the window
// answers from its HALT and Clear polling, kestavor-cli from a signal flag, tests from a
// script.
#pragma once

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

// A run nobody stops: for tests and for calls that must run to their end.
class RunToEnd : public RunControl {
 public:
  bool halt_requested() override { return false; }
};

}  // namespace kv
