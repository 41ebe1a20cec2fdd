#include "platform/input_file.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kv {

namespace {
// Mapped pages are given back in steps of this size as the reader moves on.
constexpr std::size_t kReleaseStep = std::size_t{8} << 20;

#ifdef _WIN32
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

bool InputFile::open(const std::string& path, std::string& error, Access access) {
  close();
  path_ = path;
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error = "Cannot open the file " + path + ": " + std::strerror(errno);
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
  if (access == Access::map && S_ISREG(st.st_mode) && st.st_size > 0 &&
      static_cast<unsigned long long>(st.st_size) <= SIZE_MAX) {
    const std::size_t size = static_cast<std::size_t>(st.st_size);
    void* p = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd_, 0);
    if (p != MAP_FAILED) {
      ::madvise(p, size, MADV_SEQUENTIAL);
      data_ = static_cast<const char*>(p);
      size_ = size;
      mapped_ = true;
    }
  }
  return true;
}

void InputFile::close() {
  if (mapped_) ::munmap(const_cast<char*>(data_), size_);
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  data_ = nullptr;
  size_ = released_ = 0;
  mapped_ = false;
}

void InputFile::release(const char* upto) {
  if (!mapped_ || upto < data_) return;
  const std::size_t done = static_cast<std::size_t>(upto - data_);
  if (done < released_ + kReleaseStep) return;
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t end = done / page * page;
  // The pages are clean copies of the file: were they read again, they would come back
  // from the file unchanged.
  ::madvise(const_cast<char*>(data_) + released_, end - released_, MADV_DONTNEED);
  released_ = end;
}

long InputFile::read(char* buf, std::size_t n) {
  if (fd_ < 0) return 0;
  for (;;) {
    ssize_t got = ::read(fd_, buf, n);
    if (got >= 0) return static_cast<long>(got);
    if (errno == EINTR) continue;
    error_ = "Cannot read the file " + path_ + ": " + std::strerror(errno);
    return -1;
  }
}

#endif

}  // namespace kv
