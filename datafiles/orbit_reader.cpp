#include "datafiles/orbit_reader.h"

#include <charconv>

namespace kv {

namespace {

inline bool is_digit(char c) {
  return static_cast<unsigned char>(c - '0') < 10;
}
inline bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}
inline bool ends_item(char c) {
  return c == ' ' || c == ',' || c == '\n' || c == '\t' || c == '\r';
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

// Converts a checked decimal to the nearest float. A value too small for a float reads as
// 0 (or its nearest tiny float); one too large for a float is refused.
bool to_float(const char* b, const char* e, float& value) {
  if (*b == '+') ++b;
  auto r = std::from_chars(b, e, value);
  if (r.ec == std::errc()) return true;
  double d = 0;
  std::from_chars(b, e, d);
  if (!(d > -1.0 && d < 1.0)) return false;
  value = static_cast<float>(d);
  return true;
}

}  // namespace

void OrbitReader::reset(std::string_view text) {
  p_ = text.data();
  end_ = text.data() + text.size();
  line_ = 1;
  item_line_ = 1;
  records_ = 0;
  error_.clear();
}

bool OrbitReader::next_item(const char*& begin, const char*& end) {
  const char* p = p_;
  while (p != end_) {
    if (*p == '\n') {
      ++line_;
    } else if (!is_blank(*p)) {
      break;
    }
    ++p;
  }
  if (p == end_) {
    p_ = p;
    return false;
  }
  item_line_ = line_;
  begin = p;
  while (p != end_ && !ends_item(*p)) ++p;
  end = p;
  while (p != end_ && is_blank(*p)) ++p;
  if (p != end_ && *p == ',') ++p;
  p_ = p;
  return true;
}

OrbitReader::Status OrbitReader::fail(const char* begin, const char* end, const char* why) {
  std::string_view item(begin, static_cast<std::size_t>(end - begin));
  if (item.size() > 40) item = item.substr(0, 40);
  error_ = "line " + std::to_string(item_line_) + ": \"" + std::string(item) + "\" " + why;
  return Status::bad;
}

OrbitReader::Status OrbitReader::read_number(double& value) {
  const char *b, *e;
  if (!next_item(b, e)) return Status::end;
  if (b == e) {
    value = 0;
    return Status::ok;
  }
  if (!is_decimal(b, e)) return not_a_number(b, e);
  const char* s = (*b == '+') ? b + 1 : b;
  auto r = std::from_chars(s, e, value);
  if (r.ec != std::errc()) return out_of_range(b, e);
  return Status::ok;
}

OrbitReader::Status OrbitReader::read_word(std::string& word) {
  const char *b, *e;
  if (!next_item(b, e)) return Status::end;
  if (e - b >= 2 && *b == '"' && e[-1] == '"') ++b, --e;
  word.assign(b, e);
  return Status::ok;
}

bool OrbitReader::next_field(const char*& begin, const char*& end, bool& numeric) {
  const char* p = p_;
  const char* const stop = end_;
  for (;; ++p) {
    if (p == stop) {
      p_ = p;
      return false;
    }
    if (*p == '\n') {
      ++line_;
    } else if (!is_blank(*p)) {
      break;
    }
  }
  item_line_ = line_;
  begin = p;
  // The number syntax of is_decimal, checked while the item is scanned.
  if (*p == '+' || *p == '-') ++p;
  const char* digits = p;
  while (p != stop && is_digit(*p)) ++p;
  bool ok = p != digits;
  if (p != stop && *p == '.') {
    ++p;
    const char* fraction = p;
    while (p != stop && is_digit(*p)) ++p;
    ok = ok || p != fraction;
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
  while (p != stop && is_blank(*p)) ++p;
  if (p != stop && *p == ',') ++p;
  p_ = p;
  return true;
}

OrbitReader::Status OrbitReader::read_velocity(float& velocity, long count) {
  const char *b, *e;
  bool numeric;
  for (long n = 0; n < count; ++n) {
    for (int field = 0; field < 4; ++field) {
      if (!next_field(b, e, numeric)) return Status::end;
      const bool keep = field == 2 && n == count - 1;
      if (b == e) {
        if (keep) velocity = 0;
        continue;
      }
      if (!numeric) return not_a_number(b, e);
      if (keep && !to_float(b, e, velocity)) return out_of_range(b, e);
    }
    ++records_;
  }
  return Status::ok;
}

}  // namespace kv
