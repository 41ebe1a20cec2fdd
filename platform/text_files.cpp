#include "platform/text_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/os_files.h"

namespace kv {

namespace {
constexpr std::size_t kBufSize = 1 << 16;

// Splits a path at its last folder separator: the folder ("." when there is none) and the
// file name. Works on the UTF-8 text itself, so no code page is involved on Windows.
void split_path(const std::string& path, std::string& dir, std::string& name) {
#ifdef _WIN32
  const std::size_t cut = path.find_last_of("/\\");
#else
  const std::size_t cut = path.find_last_of('/');
#endif
  if (cut == std::string::npos) {
    dir = ".";
    name = path;
  } else {
    dir = cut == 0 ? path.substr(0, 1) : path.substr(0, cut);
    name = path.substr(cut + 1);
  }
}
}  // namespace

OutputFile::~OutputFile() {
  discard();
}

void OutputFile::fail(const char* what, int err) {
  fail(what, os::error_text(err));
}

void OutputFile::fail(const char* what, const std::string& reason) {
  if (failed_) return;
  failed_ = true;
  error_ = std::string("Cannot ") + what + " the file " + path_ + ": " + reason;
}

bool OutputFile::open(const std::string& path) {
  discard();
  path_ = path;
  failed_ = false;
  error_.clear();
  lines_ = 0;
  used_ = 0;
  std::string dir, name;
  split_path(path, dir, name);
  std::random_device rd;
  int err = 0;
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    tmp_path_ = dir + "/." + name + "." + std::to_string(rd() % 1000000) + ".tmp";
    fd_ = os::create_new_file(tmp_path_, err);
    if (fd_ < 0 && err != EEXIST) break;
  }
  if (fd_ < 0) {
    fail("create", err);
    return false;
  }
  if (!buf_) buf_ = std::make_unique<char[]>(kBufSize);
  return true;
}

bool OutputFile::flush() {
  int err = 0;
  const bool ok = os::write_all(fd_, buf_.get(), used_, err);
  used_ = 0;
  if (!ok) fail("write", err);
  return ok;
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
  int err = 0;
  if (ok && !os::sync_to_disk(fd_, err)) {
    fail("write", err);
    ok = false;
  }
  if (!os::close_file(fd_, err) && ok) {
    fail("write", err);
    ok = false;
  }
  fd_ = -1;
  std::string reason;
  if (!os::replace_file(tmp_path_, path_, reason)) {
    fail("replace", reason);
    os::remove_file(tmp_path_);
    ok = false;
  }
  return ok;
}

void OutputFile::discard() {
  if (fd_ < 0) return;
  int err = 0;
  os::close_file(fd_, err);
  fd_ = -1;
  os::remove_file(tmp_path_);
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
  int err = 0;
  const int fd = os::open_for_reading(path, err);
  if (fd < 0) {
    error = "Cannot open the file " + path + ": " + os::error_text(err);
    return false;
  }
  const long long size = os::file_size(fd);
  if (size > 0) contents.reserve(static_cast<std::size_t>(size));
  contents.clear();
  char buf[1 << 16];
  for (;;) {
    const long long n = os::read_some(fd, buf, sizeof buf, err);
    if (n < 0) {
      error = "Cannot read the file " + path + ": " + os::error_text(err);
      os::close_file(fd, err);
      return false;
    }
    if (n == 0) break;
    contents.append(buf, static_cast<std::size_t>(n));
  }
  os::close_file(fd, err);
  return true;
}

bool delete_file(const std::string& path) {
  return os::remove_file(path);
}

std::string program_directory() {
  const std::string exe = os::executable_path();
  if (exe.empty()) {
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
  }
  std::string dir, name;
  split_path(exe, dir, name);
  return dir;
}

}  // namespace kv
