// A box that passes every read through to another box and keeps every record received in a
// raw file of 6-byte records, so that the session can be replayed later with the replay
// box. The raw file is written beside its path and moved into place by finish().
#pragma once

#include <memory>
#include <string>

#include "platform/interface_box.h"
#include "platform/text_files.h"

namespace kv {

class RecordingBox : public InterfaceBox {
 public:
  RecordingBox(std::unique_ptr<InterfaceBox> inner, std::string raw_path);

  // Creates the raw file; false with error() set when it cannot be created.
  bool start();
  BoxRead read(SampleRecord& record, int timeout_ms) override;
  void close() override;
  std::string name() const override { return inner_->name(); }
  long handle() const override { return inner_->handle(); }

  // Moves the raw file into place; false with error() set when it could not be written.
  bool finish();
  // Drops the raw file: an earlier file of that name stays as it was. A raw file is kept
  // exactly when the recording it belongs to is kept.
  void discard() { raw_.discard(); }
  const std::string& error() const { return raw_.error(); }
  long long records() const { return records_; }

 private:
  std::unique_ptr<InterfaceBox> inner_;
  std::string raw_path_;
  OutputFile raw_;
  long long records_ = 0;
};

// Lends a box owned elsewhere to a Form1 (which owns its device): every call is passed on.
class BorrowedBox : public InterfaceBox {
 public:
  explicit BorrowedBox(InterfaceBox& box) : box_(box) {}
  BoxRead read(SampleRecord& record, int timeout_ms) override {
    return box_.read(record, timeout_ms);
  }
  void close() override { box_.close(); }
  std::string name() const override { return box_.name(); }
  long handle() const override { return box_.handle(); }

 private:
  InterfaceBox& box_;
};

}  // namespace kv
