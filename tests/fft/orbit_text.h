// Orbit files made for the tests: a header with any point count and records whose
// velocity follows a given function of the record number (1-based).
#pragma once

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "datafiles/data_lines.h"
#include "platform/number_format.h"

namespace kv::test {

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

// A folder of its own under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir() {
    static int serial = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("kv-fft-test-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::string write(const std::string& name, const std::string& contents) const {
    std::string p = file(name);
    std::FILE* f = std::fopen(p.c_str(), "wb");
    std::fwrite(contents.data(), 1, contents.size(), f);
    std::fclose(f);
    return p;
  }

 private:
  std::filesystem::path path_;
};

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
