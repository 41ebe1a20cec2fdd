#include "platform/input_file.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/os_files.h"
#endif

namespace kv {

namespace {
#ifdef _WIN32
// Mapped pages are given back in steps of this size as the reader moves on.
constexpr std::size_t kReleaseStep = std::size_t{8} << 20;

std::string last_error_text() {
  char buf[256];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           GetLastError(), 0, buf, sizeof buf, nullptr);
  while (n > 0 && (buf[n - 1] == '\r' || buf[n - 1] == '\n' || buf[n - 1] == '.')) --n;
  return std::string(buf, n);
}
#endif
}  // namespace

#ifdef _WIN32

bool InputFile::open(const std::string& path, std::string& error, Access access) {
  close();
  path_ = path;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = "Cannot open the file " + path + ": " + last_error_text();
    return false;
  }
  file_ = h;
  LARGE_INTEGER size{};
  if (access == Access::map && GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &size) &&
      size.QuadPart > 0 && static_cast<unsigned long long>(size.QuadPart) <= SIZE_MAX) {
    HANDLE m = CreateFileMappingA(h, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (m != nullptr) {
      void* view = MapViewOfFile(m, FILE_MAP_READ, 0, 0, 0);
      if (view != nullptr) {
        mapping_ = m;
        data_ = static_cast<const char*>(view);
        size_ = static_cast<std::size_t>(size.QuadPart);
        mapped_ = true;
      } else {
        CloseHandle(m);
      }
    }
  }
  return true;
}

void InputFile::close() {
  if (mapped_) UnmapViewOfFile(data_);
  if (mapping_) CloseHandle(static_cast<HANDLE>(mapping_));
  if (file_) CloseHandle(static_cast<HANDLE>(file_));
  mapping_ = file_ = nullptr;
  data_ = nullptr;
  size_ = released_ = 0;
  mapped_ = false;
}

void InputFile::release(const char*) {}

long long InputFile::size() const {
  return mapped_ ? static_cast<long long>(size_) : -1;
}

long InputFile::read(char* buf, std::size_t n) {
  if (!file_) return 0;
  DWORD got = 0;
  const DWORD want = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
  if (!ReadFile(static_cast<HANDLE>(file_), buf, want, &got, nullptr)) {
    if (GetLastError() == ERROR_BROKEN_PIPE) return 0;
    error_ = "Cannot read the file " + path_ + ": " + last_error_text();
    return -1;
  }
  return static_cast<long>(got);
}

#else

bool InputFile::open(const std::string& path, std::string& error, Access) {
  close();
  path_ = path;
  int err = 0;
  fd_ = os::open_for_reading(path, err);
  if (fd_ < 0) {
    error = "Cannot open the file " + path + ": " + os::error_text(err);
    return false;
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    error = "Cannot read the file " + path + ": " + std::strerror(errno);
    close();
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    error = "Cannot read the file " + path + ": " + std::strerror(EISDIR);
    close();
    return false;
  }
  if (S_ISREG(st.st_mode)) {
    expected_ = static_cast<long long>(st.st_size);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
  }
  return true;
}

void InputFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  data_ = nullptr;
  size_ = released_ = 0;
  mapped_ = false;
  expected_ = -1;
  read_ = 0;
}

void InputFile::release(const char*) {}

long long InputFile::size() const {
  return expected_;
}

long InputFile::read(char* buf, std::size_t n) {
  if (fd_ < 0) return 0;
  int err = 0;
  const long long got = os::read_some(fd_, buf, n, err);
  if (got < 0) {
    error_ = "Cannot read the file " + path_ + ": " + os::error_text(err);
    return -1;
  }
  read_ += got;
  if (got == 0 && n > 0 && read_ < expected_) {
    error_ = path_ + " changed while it was read: it ended after " + std::to_string(read_) +
             " of its " + std::to_string(expected_) + " bytes";
    return -1;
  }
  return static_cast<long>(got);
}

#endif

}  // namespace kv
