// Orbit files made for the tests: a header with any point count and records whose
// velocity follows a given function of the record number (1-based).
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include <unistd.h>

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

}  // namespace kv::test
