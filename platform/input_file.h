// A file opened for reading without copying it, read in chunks with read() so a reader's
// memory stays bounded whatever the input is. On POSIX systems every file is read so: a
// mapped file that another program truncates would end this one with SIGBUS, whereas a
// read sees the file end early, which read() reports as "FILE changed while it was read".
// On Windows (where a mapped file cannot be truncated) a regular file is mapped read-only
// (contents() is the whole file, and the pages already read can be given back).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

class InputFile {
 public:
  // map: map a regular file where that is safe (Windows); stream: always read in chunks.
  enum class Access { map, stream };

  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() { close(); }

  // Returns false with a message naming the file and the reason.
  bool open(const std::string& path, std::string& error, Access access = Access::map);
  void close();

  const std::string& path() const { return path_; }
  // True when the whole file is in contents().
  bool mapped() const { return mapped_; }
  std::string_view contents() const { return {data_, size_}; }
  // The mapped bytes before `upto` will not be read again: their memory is given back.
  void release(const char* upto);
  // Streamed files: reads up to n bytes into buf; 0 at the end, -1 on an error (error()
  // then says why, naming the file): a regular file that ends before the size it had when
  // it was opened has been changed meanwhile, and a read that a stop signal interrupts
  // (platform/os_files.h) fails.
  long read(char* buf, std::size_t n);
  const std::string& error() const { return error_; }
  // Size in bytes of a regular file when it was opened; -1 for a pipe or a device.
  long long size() const;

 private:
  std::string path_, error_;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t released_ = 0;
  bool mapped_ = false;
#ifdef _WIN32
  void* file_ = nullptr;  // HANDLE
  void* mapping_ = nullptr;
#else
  int fd_ = -1;
  long long expected_ = -1;  // size of a regular file when it was opened
  long long read_ = 0;
#endif
};

}  // namespace kv
