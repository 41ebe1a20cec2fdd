// Text files with numbered slots, as the program's commands use them: a free file number,
// open for output or input, print a line (ended by CR LF), close.
//
// Output files are written into a temporary file in the same folder and moved over the
// chosen path only when close(n, keep=true) is called, so a recording that is abandoned
// never destroys an older file of the same name. Every failure is reported with a message
// that names the file and the reason.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace kv {

class OutputFile {
 public:
  ~OutputFile();
  // Creates a temporary file next to `path`. Returns false and sets error() on failure.
  bool open(const std::string& path);
  // Appends text and CR LF. Returns false (and stops writing) after a write error.
  bool print_line(std::string_view text);
  bool write_raw(const void* data, std::size_t n);
  // Flushes and moves the temporary file over the path (keep) or removes it (discard).
  bool commit();
  void discard();
  bool is_open() const { return fd_ >= 0; }
  bool failed() const { return failed_; }
  const std::string& error() const { return error_; }
  const std::string& path() const { return path_; }
  long long lines() const { return lines_; }

 private:
  bool flush();
  void fail(const char* what, int err);
  void fail(const char* what, const std::string& reason);
  int fd_ = -1;
  bool failed_ = false;
  std::string path_, tmp_path_, error_;
  std::unique_ptr<char[]> buf_;
  std::size_t used_ = 0;
  long long lines_ = 0;
};

// Numbered file slots 1..255 ("free file number"); slot 0 means no file.
class FileTable {
 public:
  static constexpr int kSlots = 256;
  int free_file() const;
  OutputFile* output(int n);
  OutputFile& open_output(int n);
  // Closes slot n: keep=true moves the file into place, false discards it. Returns false
  // with `error` set when the final flush or move failed.
  bool close(int n, bool keep, std::string* error = nullptr);
  bool is_open(int n) const;

 private:
  std::unique_ptr<OutputFile> out_[kSlots];
};

// Reads a whole file into memory. Returns false with a message naming the file and the
// reason when it cannot be read.
bool read_whole_file(const std::string& path, std::string& contents, std::string& error);

// Deletes a file by path (the platform's DeleteFile); true on success.
bool delete_file(const std::string& path);

// Folder of the running program (used as the dialogs' initial directory).
std::string program_directory();

}  // namespace kv
