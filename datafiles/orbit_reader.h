// A fast reader of orbit files (*.pha) for the analyses that go through whole files. It
// reads from a text in memory or from an InputFile (mapped, or streamed in chunks), a
// window of whole lines at a time, so its memory stays small whatever the input, and it
// reads only as far as its caller asks. Items follow the list-input rules (separated by
// blanks, tabs or line ends, one comma after an item consumed, an empty item between two
// commas reads as 0), without iostreams. Every field of a record is checked to be a
// decimal number; only the velocity is converted, directly to single precision. A field
// that is not a number, a velocity no float can hold and a line longer than any orbit
// file has stop the reading with a message that names the line. A leading UTF-8
// byte-order mark is skipped.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kv {

class InputFile;

// The longest line an orbit file can have (line end not counted); the writers' lines are
// far shorter.
inline constexpr int kMaxOrbitLine = 256;

class OrbitReader {
 public:
  enum class Status { ok, end, bad };

  OrbitReader() = default;
  explicit OrbitReader(std::string_view text) { reset(text); }
  // Reads `file` (which must stay open while this reader is used) from its start.
  explicit OrbitReader(InputFile& file) { reset(file); }
  void reset(std::string_view text);
  void reset(InputFile& file);

  // Reads one item as a number (the point count of the header).
  Status read_number(double& value);
  // Reads one item as a word; quotes around it are removed.
  Status read_word(std::string& word);
  // Reads `count` records of four items (time, phase, velocity, revolutions) and keeps
  // the velocity of the last one. `end` when the text ends before the last record is
  // complete; records() then counts the whole records read.
  Status read_velocity(float& velocity, long count = 1);

  // From now on, the velocity of every record numbered 1..last (1-based, header not
  // counted) is also stored in velocities[record] as it is read. A velocity that cannot
  // be held there does not stop the reading: the collection ends and collect_error() tells
  // which (the first in the file), so a caller that needs those records can refuse them.
  void collect_velocities(float* velocities, long long last) {
    collected_ = velocities;
    collect_last_ = last;
    collect_error_.clear();
  }
  const std::string& collect_error() const { return collect_error_; }

  // Whole records read so far (the header items not included).
  long long records() const { return records_; }
  // Line (1-based) of the next item.
  int line() const { return line_; }
  // What went wrong, naming the line ("line 12: \"1.2x\" is not a number").
  const std::string& error() const { return error_; }

 private:
  // Moves to the next item: 1 when one follows, 0 at the end of the text, -1 on an error.
  int to_item();
  int skip_to_item(const char*& p);
  Status read_records(const char*& p, float& velocity, long count);
  // Makes the next window of whole lines available from p_ (which is at a line start).
  int refill();
  // The item at p (after to_item), telling whether it is a decimal number; returns the
  // position after it, its blanks and one comma.
  const char* scan_field(const char* p, const char*& end, bool& numeric) const;
  void scan_item(const char*& begin, const char*& end);
  std::string describe(const char* begin, const char* end, const char* why) const;
  Status fail(const char* begin, const char* end, const char* why);
  Status not_a_number(const char* b, const char* e) { return fail(b, e, "is not a number"); }
  Status out_of_range(const char* b, const char* e) { return fail(b, e, "is out of range"); }
  int too_long();
  int lone_cr();

  const char* p_ = nullptr;
  const char* end_ = nullptr;       // end of the window: just after a line end, or the end
  const char* data_end_ = nullptr;  // end of the bytes at hand
  const char* line_start_ = nullptr;
  InputFile* file_ = nullptr;    // null: the text is all in memory
  std::unique_ptr<char[]> buf_;  // the window of a streamed file
  bool eof_ = true;              // no bytes beyond data_end_
  bool at_start_ = true;
  int line_ = 1;
  int item_line_ = 1;
  long long records_ = 0;
  float* collected_ = nullptr;
  long long collect_last_ = 0;
  std::string error_, collect_error_;
};

}  // namespace kv
