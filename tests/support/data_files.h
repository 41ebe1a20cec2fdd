// Data files made for the tests in the program's own line formats: orbit files (a header
// with any point count and velocities from a function, or given records), Poincare and
// spectrum files, and a pipe that feeds a text to a reader.
#pragma once

#include <condition_variable>
#include <csignal>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "datafiles/data_lines.h"
#include "fft/spectrum_file.h"
#include "platform/number_format.h"
#include "tests/support/files.h"

namespace kv::test {

struct OrbitRecord {
  double t, phase, omega;
  long revolutions;
};

inline std::string orbit_file(const std::vector<OrbitRecord>& records, long header = -1) {
  std::string text = format_print_integer(header < 0 ? static_cast<long>(records.size()) : header) +
                     "\r\nPHASE\r\n";
  char line[160];
  for (const auto& r : records) {
    text.append(line, format_orbit_line(line, r.t, r.phase, r.omega, r.revolutions));
    text += "\r\n";
  }
  return text;
}

inline std::string poincare_file(const std::vector<std::pair<double, double>>& points) {
  std::string text = format_print_integer(static_cast<long>(points.size())) + "\r\nPOINCARE\r\n";
  char line[160];
  for (const auto& [phi, omega] : points) {
    text.append(line, format_poincare_line(line, phi, omega));
    text += "\r\n";
  }
  return text;
}

// A spectrum file of `lines` lines whose power of line j is power(j).
template <typename F>
std::string spectrum_file(int lines, F power, const std::string& window = "Welch") {
  std::string text = " 512 \r\nFFT\r\n" + window + "\r\n";
  char line[160];
  for (int j = 1; j <= lines; ++j) {
    text.append(line, format_spectrum_line(line, j, static_cast<float>(power(j))));
    text += "\r\n";
  }
  return text;
}

// Records whose velocity follows velocity(record number), 1-based.
inline std::string orbit_text(long header_count, long records,
                              const std::function<double(long)>& velocity) {
  std::string text = format_print_integer(header_count) + "\r\nPHASE\r\n";
  char line[160];
  for (long i = 1; i <= records; ++i) {
    text.append(line, format_orbit_line(line, i * 0.002, 0.5, velocity(i), 0));
    text += "\r\n";
  }
  return text;
}

#ifndef _WIN32
// Writes `text` into a pipe from another thread; the reader gets a path to the read end.
// With close_after false the pipe stays open until finish() (or the end of the object).
class PipeFeeder {
 public:
  explicit PipeFeeder(std::string text, bool close_after = true) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe");
    std::signal(SIGPIPE, SIG_IGN);  // a reader that stops early makes the writer stop
    read_fd_ = fds[0];
    writer_ = std::thread([this, fd = fds[1], text = std::move(text), close_after] {
      std::size_t off = 0;
      while (off < text.size()) {
        ssize_t n = ::write(fd, text.data() + off, text.size() - off);
        if (n <= 0) break;
        off += static_cast<std::size_t>(n);
      }
      if (!close_after) {
        std::unique_lock lock(m_);
        cv_.wait(lock, [this] { return done_; });
      }
      ::close(fd);
    });
  }
  ~PipeFeeder() {
    finish();
    ::close(read_fd_);
    writer_.join();
  }
  void finish() {
    std::lock_guard lock(m_);
    done_ = true;
    cv_.notify_all();
  }
  std::string path() const { return "/proc/self/fd/" + std::to_string(read_fd_); }

 private:
  int read_fd_ = -1;
  std::thread writer_;
  std::mutex m_;
  std::condition_variable cv_;
  bool done_ = false;
};

#endif  // _WIN32 (pipes named through /proc are Linux only)

}  // namespace kv::test
