#include "platform/os_files.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#endif

namespace kv::os {

namespace {
volatile std::sig_atomic_t g_stop_signal = 0;
}  // namespace

void request_stop(int signal_number) {
  g_stop_signal = signal_number;
}

int stop_requested() {
  return g_stop_signal;
}

void ignore_file_size_signal() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

std::string error_text(int err) {
  if (err == EINTR && stop_requested()) return "stopped by a signal";
  return std::strerror(err);
}

#ifdef _WIN32

namespace {

std::wstring widen(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string narrow(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

std::string windows_error_text(DWORD code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string s = n ? std::string(text, n) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.'))
    s.pop_back();
  return s;
}

}  // namespace

int create_new_file(const std::string& path, int& err) {
  const int fd =
      _wopen(widen(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
             _S_IREAD | _S_IWRITE);
  err = fd < 0 ? errno : 0;
  return fd;
}

int open_for_reading(const std::string& path, int& err) {
  const int fd = _wopen(widen(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  err = fd < 0 ? errno : 0;
  return fd;
}

bool write_all(int fd, const char* data, std::size_t n, std::size_t& written, int& err) {
  written = 0;
  while (n > 0) {
    const unsigned chunk = n > (1u << 30) ? (1u << 30) : static_cast<unsigned>(n);
    const int w = _write(fd, data, chunk);
    if (w < 0) {
      err = errno;
      return false;
    }
    data += w;
    written += static_cast<std::size_t>(w);
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

FileInfo file_info(const std::string& path) {
  FileInfo info;
  struct _stat64 st {};
  if (_wstat64(widen(path).c_str(), &st) != 0) return info;
  info.exists = true;
  info.is_folder = (st.st_mode & _S_IFDIR) != 0;
  info.is_regular = (st.st_mode & _S_IFREG) != 0;
  info.mode = static_cast<unsigned>(st.st_mode) & 0777u;
  return info;
}

bool may_write(const std::string& path, int& err) {
  const DWORD attributes = GetFileAttributesW(widen(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    err = EACCES;
    return false;
  }
  return true;
}

void copy_permissions(int, const FileInfo&) {
  // A file created in the folder takes the folder's access rules, as the replaced one did.
}

int create_unnamed_file(const std::string&, int& err) {
  err = ENOTSUP;
  return -1;
}

bool name_file(int, const std::string& name, const std::string& to, std::string& reason) {
  return replace_file(name, to, reason);
}

bool truncate_open_file(int fd, long long size) {
  return _chsize_s(fd, size) == 0;
}

bool has_a_name(int) {
  return true;
}

bool truncate_file(const std::string& path, long long size) {
  const int fd = _wopen(widen(path).c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) return false;
  const bool ok = _chsize_s(fd, size) == 0;
  _close(fd);
  return ok;
}

void sync_folder(const std::string&) {
  // MOVEFILE_WRITE_THROUGH has already put the rename on the disk.
}

long long read_some(int fd, char* data, std::size_t n, int& err) {
  const unsigned chunk = n > (1u << 30) ? (1u << 30) : static_cast<unsigned>(n);
  const int r = _read(fd, data, chunk);
  if (r < 0) err = errno;
  return r;
}

long long file_size(int fd) {
  struct _stat64 st {};
  return _fstat64(fd, &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

bool sync_to_disk(int fd, int& err) {
  if (_commit(fd) == 0) return true;
  err = errno;
  return err == EINVAL;
}

bool close_file(int fd, int& err) {
  if (_close(fd) == 0) return true;
  err = errno;
  return false;
}

bool replace_file(const std::string& from, const std::string& to, std::string& reason) {
  if (MoveFileExW(widen(from).c_str(), widen(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  reason = windows_error_text(GetLastError());
  return false;
}

bool remove_file(const std::string& path) {
  return _wunlink(widen(path).c_str()) == 0;
}

std::string executable_path() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) {
      buf.resize(n);
      return narrow(buf);
    }
    buf.resize(buf.size() * 2);
  }
}

#else  // POSIX

int create_new_file(const std::string& path, int& err) {
  // The permissions a plain open gives a new file (the user's umask applies).
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  err = fd < 0 ? errno : 0;
  return fd;
}

int open_for_reading(const std::string& path, int& err) {
  // Opening a FIFO waits for a writer: a signal that asks for a stop ends the wait.
  for (;;) {
    // A stop asked for before the call would not interrupt the wait: it ends it here.
    if (stop_requested()) {
      err = EINTR;
      return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    err = fd < 0 ? errno : 0;
    if (fd >= 0 || err != EINTR || stop_requested()) return fd;
  }
}

bool write_all(int fd, const char* data, std::size_t n, std::size_t& written, int& err) {
  written = 0;
  while (n > 0) {
    const ssize_t w = ::write(fd, data, n);
    if (w < 0) {
      if (errno == EINTR && !stop_requested()) continue;
      err = errno;
      return false;
    }
    data += w;
    written += static_cast<std::size_t>(w);
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

FileInfo file_info(const std::string& path) {
  FileInfo info;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return info;
  info.exists = true;
  info.is_folder = S_ISDIR(st.st_mode);
  info.is_regular = S_ISREG(st.st_mode);
  info.mode = st.st_mode & 07777;
  info.owner = st.st_uid;
  info.group = st.st_gid;
  return info;
}

bool may_write(const std::string& path, int& err) {
  if (::access(path.c_str(), W_OK) == 0) return true;
  err = errno;
  return false;
}

int create_unnamed_file(const std::string& dir, int& err) {
#ifdef O_TMPFILE
  const int fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  err = fd < 0 ? errno : 0;
  return fd;
#else
  (void)dir;
  err = ENOTSUP;
  return -1;
#endif
}

bool name_file(int fd, const std::string& name, const std::string& to, std::string& reason) {
  if (!name.empty()) return replace_file(name, to, reason);
  // An unnamed file cannot be linked over an existing name: it gets a fresh hidden name in
  // the folder first, which is then moved over `to` (only a crash between the two calls
  // could leave that name behind).
  const std::size_t slash = to.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : to.substr(0, slash);
  const std::string proc = "/proc/self/fd/" + std::to_string(fd);
  std::random_device rd;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string hidden = dir + "/.kestavor-" + std::to_string(rd() % 1000000) + ".tmp";
    int r = ::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW);
#ifdef AT_EMPTY_PATH
    if (r != 0 && errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0)
      r = ::linkat(fd, "", AT_FDCWD, hidden.c_str(), AT_EMPTY_PATH);
#endif
    if (r != 0 && errno == EEXIST) continue;
    if (r != 0) {
      reason = error_text(errno);
      return false;
    }
    if (replace_file(hidden, to, reason)) return true;
    ::unlink(hidden.c_str());
    return false;
  }
  reason = error_text(EEXIST);
  return false;
}

bool truncate_open_file(int fd, long long size) {
  return ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}

bool has_a_name(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 && st.st_nlink > 0;
}

void copy_permissions(int fd, const FileInfo& from) {
  ::fchmod(fd, static_cast<mode_t>(from.mode));
  if (::geteuid() == 0)
    (void)!::fchown(fd, static_cast<uid_t>(from.owner), static_cast<gid_t>(from.group));
}

bool truncate_file(const std::string& path, long long size) {
  return ::truncate(path.c_str(), static_cast<off_t>(size)) == 0;
}

void sync_folder(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

long long read_some(int fd, char* data, std::size_t n, int& err) {
  for (;;) {
    if (stop_requested()) {
      err = EINTR;
      return -1;
    }
    const ssize_t r = ::read(fd, data, n);
    if (r < 0 && errno == EINTR && !stop_requested()) continue;
    if (r < 0) err = errno;
    return r;
  }
}

long long file_size(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

bool sync_to_disk(int fd, int& err) {
  if (::fsync(fd) == 0) return true;
  err = errno;
  return err == EINVAL;
}

bool close_file(int fd, int& err) {
  if (::close(fd) == 0) return true;
  err = errno;
  return false;
}

bool replace_file(const std::string& from, const std::string& to, std::string& reason) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  reason = error_text(errno);
  return false;
}

bool remove_file(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

std::string executable_path() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

#endif

}  // namespace kv::os
