#include "cli/progress_line.h"

#include <unistd.h>

#include <cstdio>
#include <utility>

namespace kv::cli {

bool stderr_is_terminal() {
  return isatty(STDERR_FILENO) == 1;
}

ProgressLine::ProgressLine(std::string unit, bool enabled)
    : unit_(std::move(unit)), enabled_(enabled), start_(std::chrono::steady_clock::now()) {}

ProgressLine::~ProgressLine() {
  clear();
}

std::string ProgressLine::format(std::int64_t done, std::int64_t total, const std::string& unit,
                                 double seconds) {
  constexpr int kWidth = 20;
  std::string line;
  if (total > 0) {
    const std::int64_t filled = std::min<std::int64_t>(kWidth, done * kWidth / total);
    line = "[" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(kWidth - filled), '.') + "] ";
    line += std::to_string(done) + " of " + std::to_string(total) + " " + unit;
  } else {
    line = std::to_string(done) + " " + unit;
  }
  // The rate and the time left only once there is a second of data to take them from.
  if (seconds >= 1 && done > 0) {
    const double rate = done / seconds;
    char buf[64];
    std::snprintf(buf, sizeof buf, "  %.0f/s", rate);
    line += buf;
    if (total > done) {
      const long long left = static_cast<long long>((total - done) / rate + 0.5);
      std::snprintf(buf, sizeof buf, "  %lld:%02lld left", left / 60, left % 60);
      line += buf;
    }
  }
  return line;
}

void ProgressLine::update(std::int64_t done, std::int64_t total) {
  if (!enabled_) return;
  if (done < total && !pacer_.tick()) return;
  const auto now = std::chrono::steady_clock::now();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - start_).count();
  if (done < total && !pacer_.due(ms)) return;
  const std::string text = format(done, total, unit_, ms / 1000.0);
  std::fprintf(stderr, "\r%s\033[K", text.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

void ProgressLine::clear() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace kv::cli
