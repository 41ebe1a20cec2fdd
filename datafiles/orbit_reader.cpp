#include "datafiles/orbit_reader.h"

#include "datafiles/item_chars.h"
#include "platform/shown_text.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "platform/input_file.h"
#include "platform/list_input.h"

#if defined(__GNUC__)
#define KV_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define KV_ALWAYS_INLINE inline
#endif

namespace kv {

namespace {

// Lines are handed to the scanner a window at a time; a streamed file is read in chunks
// of this size.
constexpr std::ptrdiff_t kWindow = 1 << 16;

inline bool is_digit(char c) {
  return static_cast<unsigned char>(c - '0') < 10;
}
using item_chars::ends_item;
using item_chars::is_blank;
// A CR at p that another byte than LF follows (see kLoneCarriageReturn).
inline bool lone_cr_at(const char* p, const char* stop) {
  return *p == '\r' && p + 1 != stop && p[1] != '\n';
}

// True when [b, e) is a decimal number: an optional sign, digits with an optional point
// (at least one digit in all), an optional exponent with at least one digit.
bool is_decimal(const char* b, const char* e) {
  if (b != e && (*b == '+' || *b == '-')) ++b;
  int digits = 0;
  while (b != e && is_digit(*b)) ++b, ++digits;
  if (b != e && *b == '.') {
    ++b;
    while (b != e && is_digit(*b)) ++b, ++digits;
  }
  if (digits == 0) return false;
  if (b != e && (*b == 'e' || *b == 'E')) {
    ++b;
    if (b != e && (*b == '+' || *b == '-')) ++b;
    if (b == e || !is_digit(*b)) return false;
    while (b != e && is_digit(*b)) ++b;
  }
  return b == e;
}

// True when the checked decimal [b, e) is 1 or more in size: its first significant digit
// stands at a power of ten of 0 or more once the exponent is applied. (A zero is not.)
bool at_least_one(const char* b, const char* e) {
  if (*b == '-') ++b;
  long long magnitude = 0;
  const char* p = b;
  while (p != e && *p == '0') ++p;
  const char* first = p;
  while (p != e && is_digit(*p)) ++p;
  bool found = p != first;
  magnitude = (p - first) - 1;
  if (p != e && *p == '.') {
    ++p;
    if (!found) {
      const char* zeros = p;
      while (p != e && *p == '0') ++p;
      if (p == e || !is_digit(*p)) return false;  // all zeros
      magnitude = -(p - zeros) - 1;
    }
    while (p != e && is_digit(*p)) ++p;
  } else if (!found) {
    return false;
  }
  if (p != e && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    long long exponent = 0;
    for (; p != e; ++p)
      if (exponent < 1000000000) exponent = exponent * 10 + (*p - '0');
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude >= 0;
}

// Converts a checked decimal to the nearest float. A value too small for a float reads as
// 0 (or its nearest tiny float); one too large for a float, or for a double, is refused.
bool to_float(const char* b, const char* e, float& value) {
  if (*b == '+') ++b;
  auto r = std::from_chars(b, e, value);
  if (r.ec == std::errc()) return true;
  double d = 0;
  if (std::from_chars(b, e, d).ec != std::errc() && at_least_one(b, e)) return false;
  if (!(d > -1.0 && d < 1.0)) return false;
  value = static_cast<float>(d);
  return true;
}

}  // namespace

void OrbitReader::reset(std::string_view text) {
  file_ = nullptr;
  p_ = end_ = line_start_ = text.data();
  data_end_ = text.data() + text.size();
  eof_ = true;
  at_start_ = true;
  line_ = 1;
  item_line_ = 1;
  records_ = 0;
  collected_ = nullptr;
  collect_last_ = 0;
  error_.clear();
  collect_error_.clear();
}

void OrbitReader::reset(InputFile& file) {
  if (file.mapped()) {
    reset(file.contents());
  } else {
    if (!buf_) buf_ = std::make_unique<char[]>(kWindow);
    reset(std::string_view(buf_.get(), 0));
    eof_ = false;
  }
  file_ = &file;
}

int OrbitReader::too_long() {
  // A file whose lines end with a lone CR reads as one long line: the line end is named.
  const char* limit =
      data_end_ - line_start_ > kMaxOrbitLine + 1 ? line_start_ + kMaxOrbitLine + 1 : data_end_;
  for (const char* p = line_start_; p != limit; ++p)
    if (lone_cr_at(p, data_end_)) return lone_cr();
  error_ = "line " + std::to_string(line_) + ": the line is longer than " +
           std::to_string(kMaxOrbitLine) + " characters";
  return -1;
}

int OrbitReader::lone_cr() {
  error_ = "line " + std::to_string(line_) + ": " + kLoneCarriageReturn;
  return -1;
}

int OrbitReader::refill() {
  if (file_ && !file_->mapped()) {
    // Keeps the start of the next line and reads on until a line end, the end of the file
    // or a full window.
    char* const buf = buf_.get();
    const std::ptrdiff_t keep = data_end_ - p_;
    if (keep > 0 && p_ != buf) std::memmove(buf, p_, static_cast<std::size_t>(keep));
    p_ = line_start_ = buf;
    char* fill = buf + keep;
    bool line_end = std::memchr(buf, '\n', static_cast<std::size_t>(keep)) != nullptr;
    while (!eof_ && !line_end && fill != buf + kWindow) {
      const long n = file_->read(fill, static_cast<std::size_t>(buf + kWindow - fill));
      if (n < 0) {
        error_ = "after line " + std::to_string(line_ - 1) + ": " + file_->error();
        return -1;
      }
      if (n == 0) {
        eof_ = true;
        break;
      }
      line_end = std::memchr(fill, '\n', static_cast<std::size_t>(n)) != nullptr;
      fill += n;
    }
    data_end_ = fill;
  } else if (file_) {
    file_->release(p_);
  }
  end_ = p_;
  if (p_ == data_end_) return 0;
  const char* limit = data_end_ - p_ > kWindow ? p_ + kWindow : data_end_;
  const char* q = limit;
  while (q != p_ && q[-1] != '\n') --q;
  if (q != p_) {
    end_ = q;
  } else if (limit == data_end_ && eof_ && data_end_ - p_ <= kMaxOrbitLine) {
    end_ = data_end_;
  } else {
    return too_long();
  }
  if (at_start_) {
    at_start_ = false;
    if (end_ - p_ >= 3 && std::memcmp(p_, "\xEF\xBB\xBF", 3) == 0) line_start_ = p_ += 3;
  }
  return 1;
}

KV_ALWAYS_INLINE int OrbitReader::skip_to_item(const char*& at) {
  const char* p = at;
  for (;;) {
    if (p == end_) {
      p_ = p;
      const int r = refill();
      at = p = p_;
      if (r <= 0) return r;
      continue;
    }
    if (*p == '\n') {
      const std::ptrdiff_t length = p - line_start_;
      if (length > kMaxOrbitLine && !(length == kMaxOrbitLine + 1 && p[-1] == '\r')) {
        at = p;
        return too_long();
      }
      ++line_;
      line_start_ = p + 1;
    } else if (!is_blank(*p)) {
      break;
    } else if (*p == '\r' && p + 1 != end_ && p[1] != '\n') {
      at = p;
      return lone_cr();
    }
    ++p;
  }
  at = p;
  return 1;
}

int OrbitReader::to_item() {
  const char* p = p_;
  const int r = skip_to_item(p);
  p_ = p;
  return r;
}

void OrbitReader::scan_item(const char*& begin, const char*& end) {
  const char* p = p_;
  item_line_ = line_;
  begin = p;
  while (p != end_ && !ends_item(*p)) ++p;
  end = p;
  while (p != end_ && is_blank(*p) && !lone_cr_at(p, end_)) ++p;
  if (p != end_ && *p == ',') ++p;
  p_ = p;
}

std::string OrbitReader::describe(const char* begin, const char* end, const char* why) const {
  const std::string_view item(begin, static_cast<std::size_t>(end - begin));
  const std::string text = "line " + std::to_string(item_line_) + ": \"" + shown_bytes(item);
  return text + "\" " + why;
}

OrbitReader::Status OrbitReader::fail(const char* begin, const char* end, const char* why) {
  error_ = describe(begin, end, why);
  return Status::bad;
}

OrbitReader::Status OrbitReader::read_number(double& value) {
  const int r = to_item();
  if (r <= 0) return r == 0 ? Status::end : Status::bad;
  const char *b, *e;
  scan_item(b, e);
  if (e - line_start_ > kMaxOrbitLine) return too_long(), Status::bad;
  if (b == e) {
    value = 0;
    return Status::ok;
  }
  if (!is_decimal(b, e)) return not_a_number(b, e);
  const char* s = (*b == '+') ? b + 1 : b;
  auto res = std::from_chars(s, e, value);
  if (res.ec != std::errc()) return out_of_range(b, e);
  return Status::ok;
}

OrbitReader::Status OrbitReader::read_word(std::string& word) {
  const int r = to_item();
  if (r <= 0) return r == 0 ? Status::end : Status::bad;
  const char *b, *e;
  scan_item(b, e);
  if (e - line_start_ > kMaxOrbitLine) return too_long(), Status::bad;
  if (e - b >= 2 && *b == '"' && e[-1] == '"') ++b, --e;
  word.assign(b, e);
  return Status::ok;
}

KV_ALWAYS_INLINE const char* OrbitReader::scan_field(const char* p, const char*& end,
                                                     bool& numeric) const {
  const char* const stop = end_;
  // The decimal number syntax: an optional sign, digits with an optional point (at least
  // one digit in all), an optional exponent with at least one digit; checked while the
  // item is scanned.
  if (*p == '+' || *p == '-') ++p;
  const char* digits = p;
  while (p != stop && is_digit(*p)) ++p;
  bool ok = p != digits;
  if (p != stop && *p == '.') {
    ++p;
    const char* fraction = p;
    while (p != stop && is_digit(*p)) ++p;
    // A point alone is how the file patterns write 0 ("###.####" of a time of 0).
    ok = ok || p != fraction || p == stop || ends_item(*p);
  }
  if (ok && p != stop && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    if (q != stop && (*q == '+' || *q == '-')) ++q;
    if (q != stop && is_digit(*q)) {
      while (q != stop && is_digit(*q)) ++q;
      p = q;
    } else {
      ok = false;
    }
  }
  if (p != stop && !ends_item(*p)) {
    ok = false;
    while (p != stop && !ends_item(*p)) ++p;
  }
  end = p;
  numeric = ok;
  while (p != stop && is_blank(*p) && !lone_cr_at(p, stop)) ++p;
  if (p != stop && *p == ',') ++p;
  return p;
}

KV_ALWAYS_INLINE OrbitReader::Status OrbitReader::read_records(const char*& p, float& velocity,
                                                               long count) {
  const char* e;
  bool numeric;
  for (long n = 0; n < count; ++n) {
    const bool keep = n == count - 1;
    const bool collect = records_ < collect_last_;
    for (int field = 0; field < 4; ++field) {
      const int r = skip_to_item(p);
      if (r <= 0) return r == 0 ? Status::end : Status::bad;
      const char* const b = p;
      p = scan_field(p, e, numeric);
      if (e - line_start_ > kMaxOrbitLine) return too_long(), Status::bad;
      if (field != 2 || !(keep || collect)) {
        if (b != e && !numeric) return item_line_ = line_, not_a_number(b, e);
        continue;
      }
      float x = 0;
      if (b != e) {
        if (!numeric) return item_line_ = line_, not_a_number(b, e);
        if (!to_float(b, e, x)) {
          item_line_ = line_;
          if (keep) return out_of_range(b, e);
          collect_error_ = describe(b, e, "is out of range");
          collect_last_ = 0;
          continue;
        }
      }
      if (keep) velocity = x;
      if (collect) collected_[records_ + 1] = x;
    }
    ++records_;
  }
  return Status::ok;
}

OrbitReader::Status OrbitReader::read_velocity(float& velocity, long count) {
  const char* p = p_;
  const Status st = read_records(p, velocity, count);
  p_ = p;
  return st;
}

}  // namespace kv
