#include "platform/list_input.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/input_file.h"
#include "platform/shown_text.h"

namespace kv {

namespace {
// A streamed file is read in chunks of this size; a line longer than kMaxLine bytes (far
// beyond any line of the program's files) stops the reading rather than filling memory.
constexpr std::size_t kChunk = std::size_t{1} << 16;
constexpr std::size_t kMaxLine = std::size_t{1} << 20;

inline bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// "line N: \"item\" is not a number", the item cut to 40 bytes and every byte that is not
// printable ASCII shown as \xNN, so that no byte of the file reaches a terminal raw.
std::string not_a_number(int line, std::string_view item) {
  return "line " + std::to_string(line) + ": \"" + shown_bytes(item) + "\" is not a number";
}
}  // namespace

ListInput::ListInput(InputFile& file) : file_(&file), file_end_(false) {
  file_size_ = file.size() > 0 ? static_cast<std::size_t>(file.size()) : 0;
  whole_line();
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

bool ListInput::read_on() {
  if (failed_) return false;
  if (!file_) return true;
  while (!file_end_ && (last_line_feed_ == std::string_view::npos || last_line_feed_ < pos_)) {
    // The bytes before pos_ are read: the window keeps only the line being read.
    window_.erase(0, pos_);
    consumed_ += pos_;
    pos_ = 0;
    if (window_.size() > kMaxLine) {
      error_ = "line " + std::to_string(line_) + " is longer than " + std::to_string(kMaxLine) +
               " bytes";
      failed_ = true;
      return false;
    }
    const std::size_t had = window_.size();
    window_.resize(had + kChunk);
    const long n = file_->read(window_.data() + had, kChunk);
    window_.resize(had + static_cast<std::size_t>(n > 0 ? n : 0));
    text_ = window_;
    last_line_feed_ = text_.rfind('\n');
    if (n < 0) {
      error_ = file_->error();
      failed_ = true;
      return false;
    }
    if (n == 0) file_end_ = true;
  }
  return true;
}

bool ListInput::refuse_lone_cr(std::size_t pos) {
  if (pos + 1 >= text_.size() || text_[pos + 1] == '\n') return false;
  error_ = "line " + std::to_string(line_) + ": " + kLoneCarriageReturn;
  failed_ = true;
  return true;
}

bool ListInput::eof() {
  if (!whole_line()) return false;
  while (pos_ < text_.size()) {
    char c = text_[pos_];
    if (c == '\n') {
      ++line_;
      ++pos_;
      if (!whole_line()) return false;
    } else if (is_blank(c) || c == ',') {
      if (lone_cr(pos_)) return false;
      ++pos_;
    } else {
      return false;
    }
  }
  return true;
}

// Finds the next item: skips blanks and line ends before it; stops at a comma, blank or
// line end after it and consumes one comma that follows.
bool ListInput::next_item(std::string_view& item) {
  if (!whole_line()) return false;
  while (pos_ < text_.size()) {
    char c = text_[pos_];
    if (c == '\n') {
      ++line_;
      ++pos_;
      if (!whole_line()) return false;
    } else if (is_blank(c)) {
      if (lone_cr(pos_)) return false;
      ++pos_;
    } else {
      break;
    }
  }
  if (pos_ >= text_.size()) return false;
  std::size_t start = pos_;
  if (text_[pos_] == '"') {
    std::size_t end = text_.find('"', pos_ + 1);
    if (end == std::string_view::npos) end = text_.size();
    item = text_.substr(pos_ + 1, end - pos_ - 1);
    pos_ = end < text_.size() ? end + 1 : end;
  } else {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == ',' || c == '\n' || is_blank(c)) break;
      ++pos_;
    }
    item = text_.substr(start, pos_ - start);
  }
  // Consume trailing blanks and a single comma.
  while (pos_ < text_.size() && is_blank(text_[pos_]) && !lone_cr(pos_)) ++pos_;
  if (failed_) return false;
  if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
  return true;
}

bool ListInput::read_number(double& value) {
  std::string_view item;
  int at = line_;
  if (!next_item(item)) {
    if (!failed_)
      error_ = "the file ends before line " + std::to_string(at) + " has all its fields";
    return false;
  }
  at = line_;
  const char* b = item.data();
  const char* e = b + item.size();
  if (b != e && *b == '+') ++b;
  // An item like ".5" or "-.5" parses with from_chars directly; "5." too.
  auto r = std::from_chars(b, e, value);
  // "nan" and "inf" read as numbers by from_chars, but no file of the program holds them.
  if (r.ec != std::errc() || r.ptr != e || !std::isfinite(value)) {
    if (item.empty() || item == "." || item == "-.") {
      // An empty field between two commas reads as 0, and so does a bare point (a value
      // written with a "#" pattern that rounds to nothing, as a time of 0 in "###.####").
      value = 0;
      return true;
    }
    error_ = not_a_number(at, item);
    return false;
  }
  return true;
}

bool ListInput::read_float(float& value) {
  // Parsed directly as single precision: the nearest float to the decimal text, not a
  // double rounded a second time.
  std::string_view item;
  int at = line_;
  if (!next_item(item)) {
    if (!failed_)
      error_ = "the file ends before line " + std::to_string(at) + " has all its fields";
    return false;
  }
  at = line_;
  const char* b = item.data();
  const char* e = b + item.size();
  if (b != e && *b == '+') ++b;
  auto r = std::from_chars(b, e, value);
  if (r.ec != std::errc() || r.ptr != e || !std::isfinite(value)) {
    if (item.empty() || item == "." || item == "-.") {
      value = 0;
      return true;
    }
    error_ = not_a_number(at, item);
    return false;
  }
  return true;
}

bool ListInput::read_word(std::string& word) {
  std::string_view item;
  if (!next_item(item)) {
    if (!failed_) error_ = "the file ends before line " + std::to_string(line_);
    return false;
  }
  word.assign(item);
  return true;
}

void ListInput::skip_line() {
  std::string line;
  read_line(line);
}

bool ListInput::read_line(std::string& line) {
  line.clear();
  if (!whole_line() || pos_ >= text_.size()) return false;
  const std::size_t nl = text_.find('\n', pos_);
  const std::size_t end = nl == std::string_view::npos ? text_.size() : nl;
  for (std::size_t cr = text_.find('\r', pos_); cr < end; cr = text_.find('\r', cr + 1))
    if (lone_cr(cr)) return false;
  line.assign(text_.substr(pos_, end - pos_));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (nl == std::string_view::npos) {
    pos_ = text_.size();
  } else {
    pos_ = nl + 1;
    ++line_;
  }
  return true;
}

double leading_number(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits_start = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  }
  if (i == digits_start || (i == digits_start + 1 && text[digits_start] == '.')) return 0.0;
  // Exponent part, only when complete.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    std::size_t ed = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    if (j > ed) i = j;
  }
  std::string_view num = text.substr(start, i - start);
  const char* b = num.data();
  const char* e = b + num.size();
  if (*b == '+') ++b;
  double v = 0;
  auto r = std::from_chars(b, e, v);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large a number reads as infinite; too small a one (underflow, as 1e-400) is 0
    // with its sign, and the reader's own checks then apply.
    const double near = std::strtod(std::string(num).c_str(), nullptr);
    const double sign = num[0] == '-' ? -1.0 : 1.0;
    return std::fabs(near) >= 1 ? sign * HUGE_VAL : sign * 0.0;
  }
  return r.ec == std::errc() ? v : 0.0;
}

}  // namespace kv
