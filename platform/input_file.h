// A file opened for reading without copying it: a regular file is mapped read-only into
// memory (contents() is the whole file, and the pages already read can be given back),
// anything else (a pipe, a character device, a file that cannot be mapped) is read in
// chunks with read(), so a reader's memory stays bounded whatever the input is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

class InputFile {
 public:
  // map: map a regular file when possible; stream: always read in chunks.
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
  // then says why, naming the file).
  long read(char* buf, std::size_t n);
  const std::string& error() const { return error_; }

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
#endif
};

}  // namespace kv
