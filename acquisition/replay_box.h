// The replay box: delivers raw 6-byte sample records from a file (as kestavor-cli record
// --raw keeps them) or from memory, one record per read, and then reports the end of the
// data. A partial record at the end of the data is not delivered. A file is not copied:
// a regular file is mapped, anything else (a pipe, a device) is read a chunk at a time.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/input_file.h"
#include "platform/interface_box.h"

namespace kv {

class ReplayBox : public InterfaceBox {
 public:
  // Records held in memory; `label` names them in messages.
  ReplayBox(std::string data, std::string label);
  // Opens the file. Returns null and sets `error` (naming the file and the reason) when it
  // cannot be opened.
  static std::unique_ptr<ReplayBox> open(const std::string& path, std::string& error);

  BoxRead read(SampleRecord& record, int timeout_ms) override;
  void close() override;
  std::string name() const override;

  // Records held in memory or in a mapped file (a streamed file: those read so far).
  std::size_t records() const { return stream_ ? pos_ / 6 : data_.size() / 6; }
  std::size_t position() const { return pos_ / 6; }
  // Starts again at the first record (for benchmarks that replay the same data; not for a
  // streamed file).
  void rewind() { pos_ = 0; }
  // A streamed file tells this once its end has been reached.
  bool has_partial_record() const { return stream_ ? partial_ : data_.size() % 6 != 0; }

 private:
  ReplayBox(std::unique_ptr<InputFile> file, std::string label);
  std::unique_ptr<InputFile> file_;
  std::string owned_;
  std::string_view data_;  // the records in memory or mapped
  std::string label_;
  std::size_t pos_ = 0;
  bool closed_ = false;
  bool stream_ = false;
  bool partial_ = false;
  bool failed_ = false;
  char chunk_[6 * 4096];
  std::size_t chunk_used_ = 0, chunk_len_ = 0;
};

}  // namespace kv
