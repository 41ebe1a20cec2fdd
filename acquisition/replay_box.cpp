#include "acquisition/replay_box.h"

#include <cstring>

namespace kv {

ReplayBox::ReplayBox(std::string data, std::string label)
    : owned_(std::move(data)), data_(owned_), label_(std::move(label)) {}

ReplayBox::ReplayBox(std::unique_ptr<InputFile> file, std::string label)
    : file_(std::move(file)), data_(file_->contents()), label_(std::move(label)) {
  stream_ = !file_->mapped();
}

std::unique_ptr<ReplayBox> ReplayBox::open(const std::string& path, std::string& error) {
  auto file = std::make_unique<InputFile>();
  if (!file->open(path, error)) return nullptr;
  return std::unique_ptr<ReplayBox>(new ReplayBox(std::move(file), path));
}

BoxRead ReplayBox::read(SampleRecord& record, int) {
  if (closed_) return BoxRead::Gone;
  if (!stream_) {
    if (data_.size() - pos_ < record.size()) return BoxRead::EndOfData;
    std::memcpy(record.data(), data_.data() + pos_, record.size());
    pos_ += record.size();
    return BoxRead::Ok;
  }
  // A streamed file: whole records are taken from a chunk read ahead.
  if (failed_) return BoxRead::Gone;
  if (chunk_len_ - chunk_used_ < record.size()) {
    const std::size_t keep = chunk_len_ - chunk_used_;
    std::memmove(chunk_, chunk_ + chunk_used_, keep);
    chunk_used_ = 0;
    chunk_len_ = keep;
    while (chunk_len_ < record.size()) {
      const long n = file_->read(chunk_ + chunk_len_, sizeof chunk_ - chunk_len_);
      if (n < 0) {
        failed_ = true;
        return BoxRead::Gone;
      }
      if (n == 0) {
        partial_ = chunk_len_ > 0;
        return BoxRead::EndOfData;
      }
      chunk_len_ += static_cast<std::size_t>(n);
    }
  }
  std::memcpy(record.data(), chunk_ + chunk_used_, record.size());
  chunk_used_ += record.size();
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
