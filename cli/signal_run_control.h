// The run control of kestavor-cli: Ctrl-C (SIGINT), SIGTERM and SIGHUP (the terminal
// closed) act as HALT. install_stop_signals() (called once at start) owns these signals for
// the whole run: a signal is reported once to halt_requested(), as a press on HALT is, and a
// read waiting on a pipe or FIFO ends at it (platform/os_files.h).
#pragma once

#include <csignal>
#include <memory>
#include <string>

#include "cli/progress_line.h"
#include "platform/run_control.h"

namespace kv::cli {

// Installs the handlers of SIGINT, SIGTERM and SIGHUP, and makes a file-size limit a write
// error rather than SIGXFSZ.
void install_stop_signals();

class SignalRunControl : public RunControl {
 public:
  bool halt_requested() override;
  // Shows the run's progress as a bar on standard error counting `unit`, when standard
  // error is a terminal and `quiet` is false.
  void show_progress(const std::string& unit, bool quiet);
  // Whether the bar is shown; a command tells its status after it only then.
  bool shows_progress() const { return bar_ && bar_->enabled(); }
  void progress(std::int64_t done, std::int64_t total) override;
  // Erases the bar (before the command prints its outcome).
  void end_progress();
  // The signal that asked the command to stop (0 for none).
  int signal() const;
  // The exit status of a command stopped by that signal: 128 + its number (130 for Ctrl-C).
  int exit_status() const { return 128 + signal(); }

 private:
  std::unique_ptr<ProgressLine> bar_;
};

}  // namespace kv::cli
