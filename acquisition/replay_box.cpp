#include "acquisition/replay_box.h"

#include <cstring>

#include "platform/text_files.h"

namespace kv {

ReplayBox::ReplayBox(std::string data, std::string label)
    : data_(std::move(data)), label_(std::move(label)) {}

std::unique_ptr<ReplayBox> ReplayBox::open(const std::string& path, std::string& error) {
  std::string data;
  if (!read_whole_file(path, data, error)) return nullptr;
  return std::make_unique<ReplayBox>(std::move(data), path);
}

BoxRead ReplayBox::read(SampleRecord& record, int) {
  if (closed_) return BoxRead::Gone;
  if (data_.size() - pos_ < record.size()) return BoxRead::EndOfData;
  std::memcpy(record.data(), data_.data() + pos_, record.size());
  pos_ += record.size();
  return BoxRead::Ok;
}

void ReplayBox::close() {
  closed_ = true;
}

std::string ReplayBox::name() const {
  return "replay of " + label_;
}

}  // namespace kv
