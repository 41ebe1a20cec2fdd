#include "platform/text_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace kv {

namespace {
constexpr std::size_t kBufSize = 1 << 16;

std::string folder_of(const std::string& path) {
  std::string dir = std::filesystem::path(path).parent_path().string();
  return dir.empty() ? "." : dir;
}

// Follows symbolic links at `path` (up to a sane depth) to the file a plain open would
// write; a dangling link names the file to be created.
std::string resolve_links(const std::string& path) {
  std::filesystem::path p(path);
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(p, ec))) break;
    std::filesystem::path target = std::filesystem::read_symlink(p, ec);
    if (ec) break;
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  return p.string();
}

// Makes a rename in `dir` durable.
void sync_folder(const std::string& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
}  // namespace

OutputFile::~OutputFile() {
  discard();
}

void OutputFile::fail(const char* what, int err) {
  if (failed_) return;
  failed_ = true;
  error_ = std::string("Cannot ") + what + " the file " + path_ + ": " + std::strerror(err);
}

std::string OutputFile::incomplete_path(const std::string& path) {
  std::filesystem::path p(path);
  std::string name = p.stem().string() + ".incomplete" + p.extension().string();
  return (p.parent_path() / name).string();
}

bool OutputFile::open(const std::string& path) {
  discard();
  path_ = path;
  failed_ = false;
  error_.clear();
  kept_path_.clear();
  kept_lines_ = 0;
  keep_incomplete_ = false;
  header_lines_ = 0;
  text_ = false;
  lines_ = 0;
  used_ = 0;
  unit_end_ = 0;
  on_disk_ = whole_on_disk_ = lines_on_disk_ = 0;

  if (path.empty() || std::filesystem::path(path).filename().empty()) {
    failed_ = true;
    error_ = "Cannot write the file " + path + ": the name ends in a folder, not a file name";
    return false;
  }
  target_ = resolve_links(path);
  struct stat st {};
  target_existed_ = ::stat(target_.c_str(), &st) == 0;
  if (target_existed_) {
    if (S_ISDIR(st.st_mode)) {
      fail("write", EISDIR);
      return false;
    }
    if (!S_ISREG(st.st_mode)) {
      failed_ = true;
      error_ = "Cannot write the file " + path_ + ": it is not a regular file";
      return false;
    }
    if (::access(target_.c_str(), W_OK) != 0) {
      fail("write", errno);
      return false;
    }
  }

  // A short temporary name, so that any name the folder allows for the file itself can be
  // written. The lines of a run cut short by a crash are found in this file.
  const std::string dir = folder_of(target_);
  std::random_device rd;
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    tmp_path_ = dir + "/.kestavor-" + std::to_string(rd() % 1000000) + ".tmp";
    fd_ = ::open(tmp_path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    const int err = errno;
    failed_ = true;
    if (err == EACCES || err == EPERM || err == EROFS) {
      error_ = "Cannot write the file " + path_ + ": the folder " + dir +
               " does not allow a new file in it (" + std::strerror(err) +
               "); the program writes a temporary file there first, so that a failed write "
               "never destroys the file";
    } else {
      error_ = "Cannot create the file " + path_ + ": " + std::strerror(err);
    }
    return false;
  }
  if (target_existed_) {
    // The new file takes the place of the old one with its permissions (and, when the
    // program may, its owner).
    ::fchmod(fd_, st.st_mode & 07777);
    if (::geteuid() == 0) (void)!::fchown(fd_, st.st_uid, st.st_gid);
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
      const int err = errno;
      // Whole lines among the bytes that did reach the file are kept.
      if (text_) {
        for (std::size_t i = off; i > 0; --i)
          if (buf_[i - 1] == '\n') {
            whole_on_disk_ = on_disk_ + static_cast<long long>(i);
            break;
          }
        lines_on_disk_ += std::count(buf_.get(), buf_.get() + off, '\n');
      } else if (unit_end_ <= off && unit_end_ > 0) {
        whole_on_disk_ = on_disk_ + static_cast<long long>(unit_end_);
      }
      on_disk_ += static_cast<long long>(off);
      fail("write", err);
      used_ = 0;
      unit_end_ = 0;
      return false;
    }
    off += static_cast<std::size_t>(n);
  }
  if (text_) lines_on_disk_ += std::count(buf_.get(), buf_.get() + used_, '\n');
  if (unit_end_ > 0) whole_on_disk_ = on_disk_ + static_cast<long long>(unit_end_);
  on_disk_ += static_cast<long long>(used_);
  used_ = 0;
  unit_end_ = 0;
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
  unit_end_ = used_;
  return true;
}

bool OutputFile::print_line(std::string_view text) {
  if (fd_ < 0 || failed_) return false;
  text_ = true;
  if (used_ + text.size() + 2 > kBufSize && !flush()) return false;
  if (text.size() + 2 > kBufSize) {
    if (!write_raw(text.data(), text.size())) return false;
    if (!write_raw("\r\n", 2)) return false;
  } else {
    std::memcpy(buf_.get() + used_, text.data(), text.size());
    used_ += text.size();
    buf_[used_++] = '\r';
    buf_[used_++] = '\n';
    unit_end_ = used_;
  }
  ++lines_;
  return true;
}

void OutputFile::keep_what_reached_the_disk() {
  kept_path_.clear();
  kept_lines_ = 0;
  const long long lines = text_ ? lines_on_disk_ : 0;
  const bool worth_keeping =
      keep_incomplete_ && whole_on_disk_ > 0 && (text_ ? lines > header_lines_ : true);
  if (worth_keeping && ::truncate(tmp_path_.c_str(), whole_on_disk_) == 0) {
    const std::string kept = incomplete_path(target_);
    if (std::rename(tmp_path_.c_str(), kept.c_str()) == 0) {
      sync_folder(folder_of(kept));
      kept_path_ = kept;
      kept_lines_ = lines;
      return;
    }
  }
  ::unlink(tmp_path_.c_str());
}

std::string OutputFile::what_was_kept() const {
  std::string text =
      "The file " + path_ + (target_existed_ ? " was not changed." : " was not created.");
  if (!kept_path_.empty()) {
    text += " What was written before the error is kept in " + kept_path_;
    if (text_) text += " (" + std::to_string(kept_lines_) + " lines)";
    text += ".";
  } else {
    text += " Nothing of the unfinished file could be kept.";
  }
  return text;
}

bool OutputFile::commit() {
  if (fd_ < 0) return !failed_;
  // The file must be on the disk before its name is: after a crash the chosen name holds
  // either the old file or the whole new one.
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
  if (!ok) {
    keep_what_reached_the_disk();
    return false;
  }
  if (std::rename(tmp_path_.c_str(), target_.c_str()) != 0) {
    fail("replace", errno);
    whole_on_disk_ = on_disk_;
    keep_what_reached_the_disk();
    return false;
  }
  sync_folder(folder_of(target_));
  return true;
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

bool same_file(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
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
