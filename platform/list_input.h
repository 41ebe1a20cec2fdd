// List-directed input over a text held in memory, or streamed from an InputFile a window of
// whole lines at a time (so memory stays bounded whatever the file's size): items separated
// by commas, blanks or line ends, one record per line. Numbers are parsed with std::from_chars
// (locale-free); a field that does not read as a number is reported with its line number (and its
// first 40 bytes, control bytes shown as \x1b).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

class InputFile;

// The one rule for line ends in every reader of the program's files: a line ends with CR LF
// or with LF. A CR followed by anything but LF (the old Macintosh line end) is refused with
// this reason, after "line N: ".
inline constexpr const char* kLoneCarriageReturn =
    "a carriage return (CR) is not followed by a line feed (LF); lines end with CR LF or LF";

class ListInput {
 public:
  ListInput() = default;
  // A leading UTF-8 byte-order mark is skipped.
  explicit ListInput(std::string_view text) { reset(text); }
  // Reads `file` (which must stay open while this reader is used) from its start.
  explicit ListInput(InputFile& file);
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
  // The rest of the current line without its line end; false at the end of the text.
  bool read_line(std::string& line);
  // Line number (1-based) of the next item.
  int line() const { return line_; }
  // How far the reading is: bytes read of the text's bytes.
  std::size_t position() const { return consumed_ + pos_; }
  std::size_t size() const { return file_ ? file_size_ : text_.size(); }
  const std::string& error() const { return error_; }

 private:
  bool next_item(std::string_view& item);
  // A streamed file: makes the line at pos_ whole in the window (reads on until a line end
  // or the file's end). False when the file cannot be read (error_ says why). Called for
  // every item, so the common case (the line is already whole) is decided inline.
  bool whole_line() {
    if (!failed_ &&
        (!file_ || (last_line_feed_ != std::string_view::npos && last_line_feed_ >= pos_)))
      return true;
    return read_on();
  }
  bool read_on();
  // True (with the error set) when a CR at pos that is not followed by LF.
  bool lone_cr(std::size_t pos) { return text_[pos] == '\r' && refuse_lone_cr(pos); }
  bool refuse_lone_cr(std::size_t pos);
  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::string error_;
  InputFile* file_ = nullptr;
  std::string window_;         // a streamed file's bytes from the window's start
  std::size_t consumed_ = 0;   // bytes of a streamed file before the window
  std::size_t file_size_ = 0;  // for position(): 0 when the size is not known
  bool file_end_ = true;       // nothing more to read from the file
  // The window's last line feed (npos: none), so that a line known whole costs no search.
  std::size_t last_line_feed_ = std::string_view::npos;
  bool failed_ = false;  // the file could not be read
};

// The leading-number parse of the platform's Val: the number at the start of the text
// (after blanks), 0 when the text does not start with one. "3abc" gives 3, "abc" 0.
double leading_number(std::string_view text);

}  // namespace kv
