#include "platform/text_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace kv {

namespace {
constexpr std::size_t kBufSize = 1 << 16;
}

OutputFile::~OutputFile() {
  discard();
}

void OutputFile::fail(const char* what, int err) {
  if (failed_) return;
  failed_ = true;
  error_ = std::string("Cannot ") + what + " the file " + path_ + ": " + std::strerror(err);
}

bool OutputFile::open(const std::string& path) {
  discard();
  path_ = path;
  failed_ = false;
  error_.clear();
  lines_ = 0;
  used_ = 0;
  std::filesystem::path p(path);
  std::string dir = p.parent_path().string();
  if (dir.empty()) dir = ".";
  std::random_device rd;
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    tmp_path_ = dir + "/." + p.filename().string() + "." + std::to_string(rd() % 1000000) + ".tmp";
    fd_ = ::open(tmp_path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    fail("create", errno);
    return false;
  }
  if (!buf_) buf_ = std::make_unique<char[]>(kBufSize);
  return true;
}

bool OutputFile::flush() {
  std::size_t off = 0;
  while (off < used_) {
    ssize_t n = ::write(fd_, buf_.get() + off, used_ - off);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("write", errno);
      used_ = 0;
      return false;
    }
    off += static_cast<std::size_t>(n);
  }
  used_ = 0;
  return true;
}

bool OutputFile::write_raw(const void* data, std::size_t n) {
  if (fd_ < 0 || failed_) return false;
  const char* s = static_cast<const char*>(data);
  while (n > 0) {
    if (used_ == kBufSize && !flush()) return false;
    std::size_t take = std::min(n, kBufSize - used_);
    std::memcpy(buf_.get() + used_, s, take);
    used_ += take;
    s += take;
    n -= take;
  }
  return true;
}

bool OutputFile::print_line(std::string_view text) {
  if (fd_ < 0 || failed_) return false;
  if (used_ + text.size() + 2 > kBufSize && !flush()) return false;
  if (text.size() + 2 > kBufSize) {
    if (!write_raw(text.data(), text.size())) return false;
    if (!write_raw("\r\n", 2)) return false;
  } else {
    std::memcpy(buf_.get() + used_, text.data(), text.size());
    used_ += text.size();
    buf_[used_++] = '\r';
    buf_[used_++] = '\n';
  }
  ++lines_;
  return true;
}

bool OutputFile::commit() {
  if (fd_ < 0) return !failed_;
  // What reached the disk is kept even after a write error; the caller reports the error.
  bool ok = !failed_ && flush();
  if (ok && ::fsync(fd_) != 0 && errno != EINVAL) {
    fail("write", errno);
    ok = false;
  }
  if (::close(fd_) != 0 && ok) {
    fail("write", errno);
    ok = false;
  }
  fd_ = -1;
  if (std::rename(tmp_path_.c_str(), path_.c_str()) != 0) {
    fail("replace", errno);
    ::unlink(tmp_path_.c_str());
    ok = false;
  }
  return ok;
}

void OutputFile::discard() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  ::unlink(tmp_path_.c_str());
}

int FileTable::free_file() const {
  for (int n = 1; n < kSlots; ++n)
    if (!out_[n]) return n;
  return 0;
}

OutputFile* FileTable::output(int n) {
  if (n <= 0 || n >= kSlots) return nullptr;
  return out_[n].get();
}

OutputFile& FileTable::open_output(int n) {
  out_[n] = std::make_unique<OutputFile>();
  return *out_[n];
}

bool FileTable::is_open(int n) const {
  return n > 0 && n < kSlots && out_[n] != nullptr;
}

bool FileTable::close(int n, bool keep, std::string* error) {
  if (!is_open(n)) return true;
  bool ok = true;
  if (keep) {
    ok = out_[n]->commit();
  } else {
    out_[n]->discard();
  }
  if (!ok && error) *error = out_[n]->error();
  out_[n].reset();
  return ok;
}

bool read_whole_file(const std::string& path, std::string& contents, std::string& error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = "Cannot open the file " + path + ": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && st.st_size > 0)
    contents.reserve(static_cast<std::size_t>(st.st_size));
  contents.clear();
  char buf[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = "Cannot read the file " + path + ": " + std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    contents.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

bool delete_file(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

std::string program_directory() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

}  // namespace kv
