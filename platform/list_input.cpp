#include "platform/list_input.h"

#include <charconv>
#include <cmath>

namespace kv {

namespace {
inline bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// "line N: \"item\" is not a number", the item cut to 40 bytes and every byte that is not
// printable ASCII shown as \xNN, so that no byte of the file reaches a terminal raw.
std::string not_a_number(int line, std::string_view item) {
  std::string text = "line " + std::to_string(line) + ": \"";
  for (char c : item.substr(0, 40)) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7f) {
      text += c;
    } else {
      static const char* const hex = "0123456789abcdef";
      text += "\\x";
      text += hex[u >> 4];
      text += hex[u & 15];
    }
  }
  return text + "\" is not a number";
}
}  // namespace

bool ListInput::eof() {
  while (pos_ < text_.size()) {
    char c = text_[pos_];
    if (c == '\n') {
      ++line_;
      ++pos_;
    } else if (is_blank(c) || c == ',') {
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
  while (pos_ < text_.size()) {
    char c = text_[pos_];
    if (c == '\n') {
      ++line_;
      ++pos_;
    } else if (is_blank(c)) {
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
  while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
  if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
  return true;
}

bool ListInput::read_number(double& value) {
  std::string_view item;
  int at = line_;
  if (!next_item(item)) {
    error_ = "the file ends before line " + std::to_string(at) + " has all its fields";
    return false;
  }
  at = line_;
  const char* b = item.data();
  const char* e = b + item.size();
  if (b != e && *b == '+') ++b;
  // An item like ".5" or "-.5" parses with from_chars directly; "5." too.
  auto r = std::from_chars(b, e, value);
  if (r.ec != std::errc() || r.ptr != e) {
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
    error_ = "the file ends before line " + std::to_string(at) + " has all its fields";
    return false;
  }
  at = line_;
  const char* b = item.data();
  const char* e = b + item.size();
  if (b != e && *b == '+') ++b;
  auto r = std::from_chars(b, e, value);
  if (r.ec != std::errc() || r.ptr != e) {
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
    error_ = "the file ends before line " + std::to_string(line_);
    return false;
  }
  word.assign(item);
  return true;
}

void ListInput::skip_line() {
  std::size_t nl = text_.find('\n', pos_);
  if (nl == std::string_view::npos) {
    pos_ = text_.size();
  } else {
    pos_ = nl + 1;
    ++line_;
  }
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
  if (r.ec == std::errc::result_out_of_range) return num[0] == '-' ? -HUGE_VAL : HUGE_VAL;
  return r.ec == std::errc() ? v : 0.0;
}

}  // namespace kv
