#include "acquisition/recording_box.h"

namespace kv {

RecordingBox::RecordingBox(std::unique_ptr<InterfaceBox> inner, std::string raw_path)
    : inner_(std::move(inner)), raw_path_(std::move(raw_path)) {}

bool RecordingBox::start() {
  // The raw records arrive in real time: a crash keeps them up to a second before it.
  if (!raw_.open(raw_path_, OutputFile::Temporary::partial)) return false;
  raw_.keep_incomplete(0);
  return true;
}

BoxRead RecordingBox::read(SampleRecord& record, int timeout_ms) {
  const BoxRead got = inner_->read(record, timeout_ms);
  // Only new records are kept; a failed read delivers nothing new.
  if (got == BoxRead::Ok && raw_.write_raw(record.data(), record.size())) ++records_;
  return got;
}

void RecordingBox::close() {
  inner_->close();
}

bool RecordingBox::finish() {
  return raw_.commit();
}

}  // namespace kv
