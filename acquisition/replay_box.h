// The replay box: delivers raw 6-byte sample records from a file (as kestavor-cli record
// --raw keeps them) or from memory, one record per read, and then reports the end of the
// data. A partial record at the end of the data is not delivered.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/interface_box.h"

namespace kv {

class ReplayBox : public InterfaceBox {
 public:
  // Records held in memory; `label` names them in messages.
  ReplayBox(std::string data, std::string label);
  // Reads the whole file. Returns null and sets `error` (naming the file and the reason)
  // when it cannot be read.
  static std::unique_ptr<ReplayBox> open(const std::string& path, std::string& error);

  BoxRead read(SampleRecord& record, int timeout_ms) override;
  void close() override;
  std::string name() const override;

  std::size_t records() const { return data_.size() / 6; }
  std::size_t position() const { return pos_ / 6; }
  // Starts again at the first record (for benchmarks that replay the same data).
  void rewind() { pos_ = 0; }
  bool has_partial_record() const { return data_.size() % 6 != 0; }

 private:
  std::string data_;
  std::string label_;
  std::size_t pos_ = 0;
  bool closed_ = false;
};

}  // namespace kv
