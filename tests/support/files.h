// Helpers the test programs share: a temporary folder of a test's own, whole files read and
// written as bytes, the CR LF lines of a text, and kestavor-cli run through the shell.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

namespace kv::test {

// The whole file as bytes; empty when it cannot be read.
inline std::string read_file(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void write_file(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

// The lines of a CR LF text; an unterminated last line is marked as such.
inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      out.push_back("<unterminated>" + text.substr(pos));
      break;
    }
    out.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return out;
}

// A fresh folder of its own under the temporary folder, removed with the object.
class TempDir {
 public:
  TempDir() {
    static int serial = 0;
#ifdef _WIN32
    const long pid = 0;
#else
    const long pid = ::getpid();
#endif
    path_ = std::filesystem::temp_directory_path() /
            ("kv-test-" + std::to_string(pid) + "-" + std::to_string(++serial));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const {
    return path_;
  }
  std::string file(const std::string& name) const {
    return (path_ / name).string();
  }
  // Writes `contents` to the file `name` in the folder and returns its path.
  std::string write(const std::string& name, const std::string& contents) const {
    const std::string p = file(name);
    write_file(p, contents);
    return p;
  }
  // The names in the folder, sorted (a temporary file left behind shows here).
  std::vector<std::string> names() const {
    std::vector<std::string> v;
    for (const auto& e : std::filesystem::directory_iterator(path_))
      v.push_back(e.path().filename().string());
    std::sort(v.begin(), v.end());
    return v;
  }

 private:
  std::filesystem::path path_;
};

#ifndef _WIN32
// Runs `body` with files limited to `bytes` (a disk that fills up): writes beyond the limit
// fail with EFBIG instead of raising SIGXFSZ.
template <typename Body>
void with_file_size_limit(rlim_t bytes, Body body) {
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &small);
  body();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
}
#endif

#if defined(KV_CLI_PATH) && !defined(_WIN32)
struct CliRun {
  int status;  // the exit status, or 128 + the signal that ended it
  std::string out, err;
};

// Runs kestavor-cli with `args` (shell words) and gives back its status and both outputs.
inline CliRun run_cli(const std::string& args) {
  const TempDir logs;
  const std::string out = logs.file("out"), err = logs.file("err");
  const std::string cmd = std::string(KV_CLI_PATH) + " " + args + " >" + out + " 2>" + err;
  const int rc = std::system(cmd.c_str());
  const int status = WIFEXITED(rc) ? WEXITSTATUS(rc) : 128 + WTERMSIG(rc);
  return {status, read_file(out), read_file(err)};
}
#endif

}  // namespace kv::test
