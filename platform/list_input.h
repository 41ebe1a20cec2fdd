// List-directed input over a text held in memory: items separated by commas, blanks or
// line ends, one record per line. Numbers are parsed with std::from_chars (locale-free);
// a field that does not read as a number is reported with its line number (and its first
// 40 bytes, control bytes shown as \x1b).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

class ListInput {
 public:
  ListInput() = default;
  // A leading UTF-8 byte-order mark is skipped.
  explicit ListInput(std::string_view text) { reset(text); }
  void reset(std::string_view text) {
    text_ = text;
    pos_ = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    line_ = 1;
  }

  // True when only separators remain.
  bool eof();
  // Reads the next item as a number. Returns false at the end of the text or when the
  // item is not a number (error() then says which line and what was found).
  bool read_number(double& value);
  bool read_float(float& value);
  // Reads the next item as a word (quotes are removed).
  bool read_word(std::string& word);
  // Skips the rest of the current line.
  void skip_line();
  // Line number (1-based) of the next item.
  int line() const { return line_; }
  // How far the reading is: bytes read of the text's bytes.
  std::size_t position() const { return pos_; }
  std::size_t size() const { return text_.size(); }
  const std::string& error() const { return error_; }

 private:
  bool next_item(std::string_view& item);
  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::string error_;
};

// The leading-number parse of the platform's Val: the number at the start of the text
// (after blanks), 0 when the text does not start with one. "3abc" gives 3, "abc" 0.
double leading_number(std::string_view text);

}  // namespace kv
