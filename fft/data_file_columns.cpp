#include "fft/data_file_columns.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "fft/plot_file.h"
#include "platform/input_file.h"
#include "platform/list_input.h"
#include "platform/run_control.h"
#include "platform/shown_text.h"
#include "platform/vb_numeric.h"

namespace kv {

namespace {

// Character classes of list input: a blank (space, tab, CR), and what ends an item (a
// blank, a comma, a line end).
constexpr unsigned char kBlank = 1, kEndsItem = 2;
constexpr struct ClassTable {
  unsigned char c[256] = {};
  constexpr ClassTable() {
    for (unsigned char b : {' ', '\t', '\r'}) c[b] = kBlank | kEndsItem;
    c[static_cast<unsigned char>(',')] = kEndsItem;
    c[static_cast<unsigned char>('\n')] = kEndsItem;
  }
} kClass;
inline bool is_blank(char c) {
  return kClass.c[static_cast<unsigned char>(c)] & kBlank;
}
inline bool ends_item(char c) {
  return kClass.c[static_cast<unsigned char>(c)] & kEndsItem;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// The short decimals the program writes ("-12.3456"): an optional sign, at most 15
// digits with an optional point, no exponent. Their digits make an integer that a double
// holds exactly, and so does the power of ten below 1e23; one division of the two is then
// the correctly rounded value, the one std::from_chars gives. False for anything else.
inline bool short_decimal(const char* b, const char* e, double& value) {
  static constexpr double kPowers[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const bool negative = b != e && *b == '-';
  if (b != e && (*b == '-' || *b == '+')) ++b;
  std::uint64_t digits = 0;
  int count = 0, places = -1;
  for (; b != e; ++b) {
    const unsigned d = static_cast<unsigned char>(*b) - '0';
    if (d < 10) {
      digits = digits * 10 + d;
      ++count;
      if (places >= 0) ++places;
    } else if (*b == '.' && places < 0) {
      places = 0;
    } else {
      return false;
    }
  }
  if (count == 0 || count > 15) return false;
  const double v = static_cast<double>(digits);
  value = places > 0 ? v / kPowers[places] : v;
  if (negative) value = -value;
  return true;
}

constexpr std::size_t kCheckEvery = 65536;  // records between HALT polls and page releases

// The records after the header, read item by item as ListInput reads them, into growing
// columns.
class RecordScanner {
 public:
  RecordScanner(const char* p, const char* end, int line) : p_(p), end_(end), line_(line) {}

  // Skips separators before a record (as ListInput::eof does): false at the end.
  bool more() {
    while (p_ != end_) {
      const char c = *p_;
      if (c == '\n') {
        ++line_;
      } else if (!is_blank(c) && c != ',') {
        return true;
      }
      ++p_;
    }
    return false;
  }

  // Reads the next item as a number of type T; false with `error` set.
  template <class T>
  bool number(T& value, DataFileError& error) {
    const int at = line_;
    while (p_ != end_ && (*p_ == '\n' || is_blank(*p_))) {
      if (*p_ == '\n') ++line_;
      ++p_;
    }
    if (p_ == end_) {
      error.reason = "the file ends before line " + std::to_string(at) + " has all its fields";
      error.line = at;
      return false;
    }
    if constexpr (std::is_same_v<T, double>)
      if (fast_number(value)) return true;
    const char* b = p_;
    const char* e;
    if (*p_ == '"') {
      const char* close = static_cast<const char*>(std::memchr(p_ + 1, '"', end_ - p_ - 1));
      b = p_ + 1;
      e = close ? close : end_;
      p_ = close ? close + 1 : end_;
    } else {
      while (p_ != end_ && !ends_item(*p_)) ++p_;
      e = p_;
    }
    while (p_ != end_ && is_blank(*p_)) ++p_;
    if (p_ != end_ && *p_ == ',') ++p_;
    if constexpr (std::is_same_v<T, double>)
      if (short_decimal(b, e, value)) return true;
    const char* s = (b != e && *b == '+') ? b + 1 : b;
    const auto r = std::from_chars(s, e, value);
    if (r.ec == std::errc() && r.ptr == e) return true;
    const std::string_view item(b, static_cast<std::size_t>(e - b));
    if (item.empty() || item == "." || item == "-.") {
      // An empty field between two commas reads as 0, and so does a bare point.
      value = 0;
      return true;
    }
    error.reason =
        "line " + std::to_string(line_) + ": \"" + shown_bytes(item) + "\" is not a number";
    error.line = line_;
    return false;
  }

  const char* position() const { return p_; }

 private:
  // The common item in one pass: a short decimal (see short_decimal) ended by a blank, a
  // comma, a line end or the end of the text, with the blanks and the comma after it.
  // False, having moved nothing, for any other item.
  bool fast_number(double& value) {
    static constexpr double kPowers[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = p_;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    std::uint64_t digits = 0;
    const char* first = p;
    while (p != end_ && static_cast<unsigned char>(*p - '0') < 10)
      digits = digits * 10 + (*p++ - '0');
    int count = static_cast<int>(p - first), places = 0;
    if (p != end_ && *p == '.') {
      const char* fraction = ++p;
      while (p != end_ && static_cast<unsigned char>(*p - '0') < 10)
        digits = digits * 10 + (*p++ - '0');
      places = static_cast<int>(p - fraction);
      count += places;
    }
    if (count == 0 || count > 15 || (p != end_ && !ends_item(*p))) return false;
    const double v = static_cast<double>(digits);
    value = places > 0 ? v / kPowers[places] : v;
    if (negative) value = -value;
    while (p != end_ && is_blank(*p)) ++p;
    if (p != end_ && *p == ',') ++p;
    p_ = p;
    return true;
  }

  const char* p_;
  const char* end_;
  int line_;
};

// Grows every column to hold `capacity` records. False when memory runs out.
bool reserve(DataFileColumns& out, std::size_t capacity) {
  for (DataColumn& c : out.columns) {
    const std::size_t size = std::max<std::size_t>(capacity, 1) * (c.single ? 4 : 8);
    void* grown = std::realloc(c.data.get(), size);
    if (!grown) return false;
    (void)c.data.release();
    c.data.reset(grown);
  }
  return true;
}

}  // namespace

bool read_data_file_columns(const std::string& path, DataFileColumns& out, DataFileError& error,
                            RunControl& run) {
  out = DataFileColumns{};
  error = DataFileError{};
  InputFile file;
  if (!file.open(path, error.reason)) return false;
  std::string streamed;  // a file that cannot be mapped (a pipe) is read whole
  std::string_view text = file.contents();
  if (!file.mapped()) {
    char chunk[65536];
    for (long n; (n = file.read(chunk, sizeof chunk)) != 0;) {
      if (n < 0) {
        error.reason = file.error();
        return false;
      }
      streamed.append(chunk, static_cast<std::size_t>(n));
    }
    text = streamed;
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  // The header: the count, the kind word, and a spectrum's window name.
  std::string_view lines[3];
  std::size_t at = 0;
  for (std::string_view& line : lines) {
    const std::size_t nl = text.find('\n', at);
    line = text.substr(std::min(at, text.size()),
                       nl == std::string_view::npos ? std::string_view::npos : nl - at);
    at = nl == std::string_view::npos ? text.size() : nl + 1;
  }
  const std::string_view kind = trimmed(lines[1]);
  int header_lines = 2, fields = 0;
  if (kind == "PHASE") {
    out.kind = DataFileKind::orbit;
    fields = 4;
  } else if (kind == "POINCARE") {
    out.kind = DataFileKind::poincare;
    fields = 2;
  } else if (kind == "FFT") {
    out.kind = DataFileKind::spectrum;
    out.window = std::string(trimmed(lines[2]));
    header_lines = 3;
    fields = 2;
  } else {
    error.reason = "not an orbit, Poincare or spectrum file: its second line reads \"" +
                   shown_bytes(kind) + "\", not PHASE, POINCARE or FFT";
    error.line = 2;
    return false;
  }
  ListInput count_line(lines[0]);
  double count = 0;
  if (count_line.eof()) {
    error.reason = "line 1: the point count is missing";
  } else if (!count_line.read_number(count)) {
    error.reason = count_line.error();
  } else if (!(count >= -2147483648.0 && count <= 2147483647.0)) {
    error.reason = "line 1: the point count is out of range";
  }
  if (!error.reason.empty()) {
    error.line = 1;
    return false;
  }
  out.count = clng(count);

  // The records. The columns start at the header's count (bounded by what the file's size
  // can hold) and grow by half when the file holds more.
  std::size_t start = 0;
  for (int i = 0; i < header_lines; ++i) {
    const std::size_t nl = text.find('\n', start);
    start = nl == std::string_view::npos ? text.size() : nl + 1;
  }
  const char* const begin = text.data() + start;
  const char* const end = text.data() + text.size();
  for (int f = 0; f < fields; ++f)
    out.columns.push_back({nullptr, out.kind == DataFileKind::spectrum && f == 1});
  std::size_t capacity =
      std::min<std::size_t>(std::max(out.count, 0), static_cast<std::size_t>(end - begin) / 2 + 1);
  capacity = std::max<std::size_t>(capacity, 1024);
  if (!reserve(out, capacity)) {
    error.reason = "not enough memory for " + std::to_string(capacity) + " records";
    return false;
  }
  RecordScanner in(begin, end, header_lines + 1);
  std::size_t n = 0;
  double* column[4] = {};
  float* power = nullptr;
  const auto place = [&] {
    for (int f = 0; f < fields; ++f) column[f] = static_cast<double*>(out.columns[f].data.get());
    power = static_cast<float*>(out.columns[1].data.get());
  };
  place();
  while (in.more()) {
    if (n == capacity) {
      capacity += capacity / 2;
      if (!reserve(out, capacity)) {
        error.reason = "not enough memory for " + std::to_string(capacity) + " records";
        return false;
      }
      place();
    }
    if (out.kind == DataFileKind::spectrum) {
      if (!in.number(column[0][n], error) || !in.number(power[n], error)) return false;
    } else {
      for (int f = 0; f < fields; ++f)
        if (!in.number(column[f][n], error)) return false;
    }
    if (++n % kCheckEvery == 0) {
      if (file.mapped()) file.release(in.position());
      if (run.halt_requested()) return false;
    }
  }
  if (out.kind == DataFileKind::spectrum && n < static_cast<std::size_t>(kPlotFileSpectrumLines)) {
    error.reason = "it holds " + std::to_string(n) + " spectrum lines, fewer than " +
                   std::to_string(kPlotFileSpectrumLines);
    return false;
  }
  reserve(out, n);  // gives back what the header's count promised beyond the records
  out.records = n;
  return true;
}

}  // namespace kv
