// The run control of kestavor-cli: Ctrl-C (SIGINT), SIGTERM and SIGHUP (the terminal
// closed) act as HALT. While a SignalRunControl exists it owns these signals; the previous handlers
// come back when it is destroyed. A signal is reported once to halt_requested(), as a press on HALT
// is.
#pragma once

#include <csignal>
#include <memory>
#include <string>

#include "cli/progress_line.h"
#include "platform/run_control.h"

namespace kv::cli {

class SignalRunControl : public RunControl {
 public:
  SignalRunControl();
  ~SignalRunControl() override;
  SignalRunControl(const SignalRunControl&) = delete;
  SignalRunControl& operator=(const SignalRunControl&) = delete;

  bool halt_requested() override;
  // Shows the run's progress as a bar on standard error counting `unit`, when standard
  // error is a terminal and `quiet` is false.
  void show_progress(const std::string& unit, bool quiet);
  // Whether the bar is shown; a command tells its status after it only then.
  bool shows_progress() const { return bar_ && bar_->enabled(); }
  void progress(std::int64_t done, std::int64_t total) override;
  // Erases the bar (before the command prints its outcome).
  void end_progress();
  // The signal that arrived while this control existed (0 for none).
  int signal() const;
  // The exit status of a command stopped by that signal: 128 + its number (130 for Ctrl-C).
  int exit_status() const { return 128 + signal(); }

 private:
  void (*previous_int_)(int) = nullptr;
  void (*previous_term_)(int) = nullptr;
#ifdef SIGHUP
  void (*previous_hup_)(int) = nullptr;
#endif
  std::unique_ptr<ProgressLine> bar_;
};

}  // namespace kv::cli
