// A fast reader of orbit files (*.pha) for the analyses that go through whole files: the
// text is held in memory and scanned item by item with the list-input rules (items
// separated by blanks, tabs or line ends, one comma after an item consumed, an empty item
// between two commas reads as 0), without iostreams. Every field of a record is checked
// to be a decimal number; only the velocity is converted, directly to single precision.
// A field that is not a number stops the reading with a message that names its line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

class OrbitReader {
 public:
  enum class Status { ok, end, bad };

  OrbitReader() = default;
  explicit OrbitReader(std::string_view text) { reset(text); }
  void reset(std::string_view text);

  // Reads one item as a number (the point count of the header).
  Status read_number(double& value);
  // Reads one item as a word; quotes around it are removed.
  Status read_word(std::string& word);
  // Reads `count` records of four items (time, phase, velocity, revolutions) and keeps
  // the velocity of the last one. `end` when the text ends before the last record is
  // complete; records() then counts the whole records read.
  Status read_velocity(float& velocity, long count = 1);

  // Whole records read so far (the header items not included).
  long long records() const { return records_; }
  // Line (1-based) of the next item.
  int line() const { return line_; }
  // What went wrong, naming the line ("line 12: \"1.2x\" is not a number").
  const std::string& error() const { return error_; }

 private:
  // Finds the next item; false at the end of the text.
  bool next_item(const char*& begin, const char*& end);
  // The same for a field of a record, telling whether it is a decimal number.
  bool next_field(const char*& begin, const char*& end, bool& numeric);
  Status fail(const char* begin, const char* end, const char* why);
  Status not_a_number(const char* b, const char* e) { return fail(b, e, "is not a number"); }
  Status out_of_range(const char* b, const char* e) { return fail(b, e, "is out of range"); }

  const char* p_ = nullptr;
  const char* end_ = nullptr;
  int line_ = 1;
  int item_line_ = 1;
  long long records_ = 0;
  std::string error_;
};

}  // namespace kv
