#include "platform/text_files.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/os_files.h"

namespace kv {

namespace {
constexpr std::size_t kBufSize = 1 << 16;
// A partial file's lines reach the file at least this often.
constexpr long long kPartialFlushMs = 1000;

long long now_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

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

std::string folder_of(const std::string& path) {
  std::string dir, name;
  split_path(path, dir, name);
  return dir;
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

namespace {
// "old.pha" with `mark` before its extension: "old" + mark + ".pha".
std::string marked_path(const std::string& path, const char* mark) {
  std::string dir, name;
  split_path(path, dir, name);
  const std::size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  const std::string ext = dot == std::string::npos || dot == 0 ? "" : name.substr(dot);
  return (path.size() > name.size() ? path.substr(0, path.size() - name.size()) : "") + stem +
         mark + ext;
}
}  // namespace

std::string OutputFile::incomplete_path(const std::string& path) {
  return marked_path(path, ".incomplete");
}

std::string OutputFile::partial_path(const std::string& path) {
  return marked_path(path, ".partial");
}

bool OutputFile::open(const std::string& path, Temporary temporary) {
  discard();
  path_ = path;
  failed_ = false;
  error_.clear();
  kept_path_.clear();
  kept_lines_ = 0;
  keep_incomplete_ = false;
  header_lines_ = 0;
  partial_ = temporary == Temporary::partial;
  left_behind_.clear();
  last_flush_ms_ = now_ms();
  text_ = false;
  lines_ = 0;
  used_ = 0;
  unit_end_ = 0;
  on_disk_ = whole_on_disk_ = lines_on_disk_ = 0;

  std::string given_dir, given_name;
  split_path(path, given_dir, given_name);
  if (given_name.empty()) {
    failed_ = true;
    error_ = "Cannot write the file " + path + ": the name ends in a folder, not a file name";
    return false;
  }
  target_ = resolve_links(path);
  const os::FileInfo existing = os::file_info(target_);
  target_existed_ = existing.exists;
  if (target_existed_) {
    int err = 0;
    if (existing.is_folder) {
      fail("write", EISDIR);
      return false;
    }
    if (!existing.is_regular) {
      fail("write", "it is not a regular file");
      return false;
    }
    if (!os::may_write(target_, err)) {
      fail("write", err);
      return false;
    }
  }

  // A short temporary name, so that any name the folder allows for the file itself can be
  // written. The lines of a run cut short by a crash are found in this file.
  const std::string dir = folder_of(target_);
  int err = 0;
  tmp_path_.clear();
  if (partial_) {
    tmp_path_ = partial_path(target_);
    fd_ = os::create_new_file(tmp_path_, err);
    if (fd_ < 0 && err == EEXIST) {
      failed_ = true;
      error_ = "Cannot write the file " + path_ + ": " + tmp_path_ +
               " is there from a run that did not end (it holds that run's lines); move or "
               "remove it first";
      return false;
    }
  } else {
    fd_ = os::create_unnamed_file(dir, err);
    std::random_device rd;
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
      tmp_path_ = dir + "/.kestavor-" + std::to_string(rd() % 1000000) + ".tmp";
      fd_ = os::create_new_file(tmp_path_, err);
      if (fd_ < 0 && err != EEXIST) break;
    }
  }
  if (fd_ < 0) {
    failed_ = true;
    if (err == EACCES || err == EPERM || err == EROFS) {
      error_ = "Cannot write the file " + path_ + ": the folder " + dir +
               " does not allow a new file in it (" + os::error_text(err) +
               "); the program writes a temporary file there first, so that a failed write "
               "never destroys the file";
    } else {
      error_ = "Cannot create the file " + path_ + ": " + os::error_text(err);
    }
    return false;
  }
  if (target_existed_) {
    // The new file takes the place of the old one with its permissions (and, when the
    // program may, its owner).
    os::copy_permissions(fd_, existing);
  }
  if (!buf_) buf_ = std::make_unique<char[]>(kBufSize);
  return true;
}

bool OutputFile::flush() {
  std::size_t written = 0;
  int err = 0;
  if (!os::write_all(fd_, buf_.get(), used_, written, err)) {
    // Whole lines among the bytes that did reach the file are kept.
    if (text_) {
      for (std::size_t i = written; i > 0; --i)
        if (buf_[i - 1] == '\n') {
          whole_on_disk_ = on_disk_ + static_cast<long long>(i);
          break;
        }
      lines_on_disk_ += std::count(buf_.get(), buf_.get() + written, '\n');
    } else if (unit_end_ <= written && unit_end_ > 0) {
      whole_on_disk_ = on_disk_ + static_cast<long long>(unit_end_);
    }
    on_disk_ += static_cast<long long>(written);
    fail("write", err);
    used_ = 0;
    unit_end_ = 0;
    buf_lines_ = 0;
    return false;
  }
  lines_on_disk_ += buf_lines_;
  if (unit_end_ > 0) whole_on_disk_ = on_disk_ + static_cast<long long>(unit_end_);
  on_disk_ += static_cast<long long>(used_);
  used_ = 0;
  unit_end_ = 0;
  buf_lines_ = 0;
  return true;
}

bool OutputFile::write_raw(const void* data, std::size_t n) {
  if (fd_ < 0 || failed_) return false;
  if (partial_ && !flush_if_due()) return false;
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

bool OutputFile::flush_if_due() {
  if (fd_ < 0 || failed_ || !partial_) return !failed_;
  const long long now = now_ms();
  if (now - last_flush_ms_ < kPartialFlushMs) return true;
  last_flush_ms_ = now;
  return flush();
}

bool OutputFile::print_line(std::string_view text) {
  if (fd_ < 0 || failed_) return false;
  if (partial_ && !flush_if_due()) return false;
  text_ = true;
  if (used_ + text.size() + 2 > kBufSize && !flush()) return false;
  if (text.size() + 2 > kBufSize) {
    if (!write_raw(text.data(), text.size())) return false;
    if (!write_raw("\r\n", 2)) return false;
    ++buf_lines_;
  } else {
    std::memcpy(buf_.get() + used_, text.data(), text.size());
    used_ += text.size();
    buf_[used_++] = '\r';
    buf_[used_++] = '\n';
    unit_end_ = used_;
    ++buf_lines_;
  }
  ++lines_;
  return true;
}

bool OutputFile::place(const std::string& to, std::string& reason) {
#ifdef _WIN32
  // Windows moves no file that is open; the temporary file has a name there, so it is
  // closed first and moved by its name.
  if (fd_ >= 0) {
    int err = 0;
    os::close_file(fd_, err);
    fd_ = -1;
  }
#endif
  if (!os::name_file(fd_, tmp_path_, to, reason)) return false;
  tmp_path_.clear();
  os::sync_folder(folder_of(to));
  return true;
}

void OutputFile::close_temporary() {
  // A named temporary file that could not be placed is removed; where that fails too (its
  // folder was renamed or removed meanwhile) it is still on the disk, and the messages say
  // so. A file without a name vanishes as it is closed.
  int err = 0;
#ifdef _WIN32
  // Windows removes no file that is open: it is closed first.
  if (fd_ >= 0) os::close_file(fd_, err);
  fd_ = -1;
  if (!tmp_path_.empty() && !os::remove_file(tmp_path_)) {
    std::string dir;
    split_path(tmp_path_, dir, left_behind_);
  }
#else
  if (!tmp_path_.empty() && !os::remove_file(tmp_path_) && os::has_a_name(fd_)) {
    std::string dir;
    split_path(tmp_path_, dir, left_behind_);
  }
  os::close_file(fd_, err);
  fd_ = -1;
#endif
}

void OutputFile::keep_what_reached_the_disk() {
  kept_path_.clear();
  kept_lines_ = 0;
  const long long lines = text_ ? lines_on_disk_ : 0;
  const bool worth_keeping =
      keep_incomplete_ && whole_on_disk_ > 0 && (text_ ? lines > header_lines_ : true);
  // (A file that place() closed on Windows is cut by its name.)
  const bool cut = worth_keeping && (fd_ >= 0 ? os::truncate_open_file(fd_, whole_on_disk_)
                                              : os::truncate_file(tmp_path_, whole_on_disk_));
  if (cut) {
    const std::string kept = incomplete_path(target_);
    std::string reason;
    if (place(kept, reason)) {
      kept_path_ = kept;
      kept_lines_ = lines;
    }
  }
  close_temporary();
}

std::string OutputFile::what_was_kept() const {
  std::string text =
      "The file " + path_ + (target_existed_ ? " was not changed." : " was not created.");
  if (!kept_path_.empty()) {
    text += " What was written before the error is kept in " + kept_path_;
    if (text_) text += " (" + std::to_string(kept_lines_) + " lines)";
    text += ".";
  } else if (!left_behind_.empty()) {
    text +=
        " What was written could be neither moved into place nor removed: the folder was "
        "renamed or removed while the file was written, and it is still in that folder as " +
        left_behind_ + ".";
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
  int err = 0;
  if (ok && !os::sync_to_disk(fd_, err)) {
    fail("write", err);
    ok = false;
  }
  if (!ok) {
    keep_what_reached_the_disk();
    return false;
  }
  std::string reason;
  if (!place(target_, reason)) {
    fail("replace", reason);
    whole_on_disk_ = on_disk_;
    keep_what_reached_the_disk();
    return false;
  }
  // The file is in place and on the disk: closing it cannot lose anything now.
  if (fd_ >= 0) os::close_file(fd_, err);
  fd_ = -1;
  return true;
}

void OutputFile::discard() {
  if (fd_ < 0) return;
  close_temporary();
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
  if (!ok && error) *error = out_[n]->error() + ". " + out_[n]->what_was_kept();
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

bool same_file(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
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
