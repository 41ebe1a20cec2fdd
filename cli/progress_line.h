// kestavor-cli's progress bar: one line on standard error, redrawn in place, with the
// count, the total, the rate and the time left. It is drawn only when standard error is a
// terminal (and --quiet was not given), so redirected output and the tests see nothing.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/run_control.h"

namespace kv::cli {

class ProgressLine {
 public:
  // `unit` names what is counted ("points", "segments", "records").
  ProgressLine(std::string unit, bool enabled);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void update(std::int64_t done, std::int64_t total);
  // Erases the line (before a message is printed, and at the end).
  void clear();
  bool enabled() const { return enabled_; }

  // The text of the line: "[#####.....] 1234 of 3000 points  410/s  0:04 left", the rate
  // and the time left from the first second on.
  static std::string format(std::int64_t done, std::int64_t total, const std::string& unit,
                            double seconds);

 private:
  std::string unit_;
  bool enabled_;
  bool drawn_ = false;
  ProgressPacer pacer_;
  std::chrono::steady_clock::time_point start_;
};

// True when standard error is a terminal.
bool stderr_is_terminal();

}  // namespace kv::cli
