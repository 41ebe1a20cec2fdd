// Text files with numbered slots, as the program's commands use them: a free file number,
// open for output or input, print a line (ended by CR LF), close.
//
// Output files are written into a temporary file in the same folder and moved over the
// chosen path only when close(n, keep=true) is called, so a recording that is abandoned
// never destroys an older file of the same name. The temporary file of a computation has
// no name where the system offers that (Linux), so a crash leaves nothing behind; a
// real-time run writes a visible NAME.partial.EXT instead, flushed at least once a second,
// so that a crash keeps its lines up to a second before it. Every failure is reported with
// a message that names the file and the reason.
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
  // hidden: a file without a name (else a hidden .kestavor-NNNNNN.tmp) until commit();
  // partial: NAME.partial.EXT beside NAME, its whole lines flushed at least once a second.
  enum class Temporary { hidden, partial };
  // Creates a temporary file in the folder of `path` (following a symbolic link at `path`
  // to its target, as a plain open would). Refuses a folder, and an existing file the
  // user may not write. Returns false and sets error() on failure.
  bool open(const std::string& path, Temporary temporary = Temporary::hidden);
  // Appends text and CR LF. Returns false (and stops writing) after a write error.
  bool print_line(std::string_view text);
  // Appends one unit of raw bytes (a whole record).
  bool write_raw(const void* data, std::size_t n);
  // After a write error, keep what reached the disk (cut back to its last whole line or
  // record) under incomplete_path() when it holds more than `header_lines` lines; without
  // this call nothing of a failed file is kept.
  void keep_incomplete(long long header_lines) {
    keep_incomplete_ = true;
    header_lines_ = header_lines;
  }
  // Flushes the file to the disk and moves it over the path, with the permissions of the
  // file it replaces. After a write error the path is left as it was (see
  // keep_incomplete) and false is returned.
  bool commit();
  void discard();
  bool is_open() const { return fd_ >= 0; }
  bool failed() const { return failed_; }
  const std::string& error() const { return error_; }
  const std::string& path() const { return path_; }
  long long lines() const { return lines_; }
  // After a failed commit: where the lines written before the error were kept (empty
  // when nothing was kept) and how many lines that file holds.
  const std::string& kept_path() const { return kept_path_; }
  long long kept_lines() const { return kept_lines_; }
  // A sentence for the user after a failed commit: what became of the chosen file and of
  // the lines written before the error.
  std::string what_was_kept() const;
  // "old.incomplete.pha" beside "old.pha".
  static std::string incomplete_path(const std::string& path);
  // "old.partial.pha" beside "old.pha".
  static std::string partial_path(const std::string& path);

  // A partial file: writes the buffered whole lines when a second has passed since they
  // were last written, also while no new line comes (a box that went quiet), so that a
  // crash loses no line older than a second. False when the write failed.
  bool flush_if_due();

 private:
  bool flush();
  // Gives the temporary file the name `to` (see os::name_file).
  bool place(const std::string& to, std::string& reason);
  void close_temporary();
  void fail(const char* what, int err);
  void fail(const char* what, const std::string& reason);
  void keep_what_reached_the_disk();
  int fd_ = -1;
  bool failed_ = false;
  bool keep_incomplete_ = false;
  bool text_ = false;  // lines were printed (whole lines end in LF)
  bool target_existed_ = false;
  bool partial_ = false;
  long long last_flush_ms_ = 0;
  long long header_lines_ = 0;
  std::string path_, target_, error_, kept_path_;
  std::string tmp_path_;     // empty for a file without a name
  std::string left_behind_;  // name of a temporary file neither placed nor removed
  std::unique_ptr<char[]> buf_;
  std::size_t used_ = 0;
  std::size_t unit_end_ = 0;     // end of the last whole line or record in the buffer
  long long on_disk_ = 0;        // bytes written to the temporary file
  long long whole_on_disk_ = 0;  // of which end at a whole line or record
  long long lines_on_disk_ = 0;  // line ends among them
  long long buf_lines_ = 0;      // whole lines in the buffer
  long long lines_ = 0;
  long long kept_lines_ = 0;
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

// True when both paths name the same existing file (the same device and inode).
bool same_file(const std::string& a, const std::string& b);

// Folder of the running program (used as the dialogs' initial directory).
std::string program_directory();

}  // namespace kv
