#include "fft/data_file_columns.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include "datafiles/item_chars.h"
#include "datafiles/short_decimal.h"
#include "fft/plot_file.h"
#include "platform/input_file.h"
#include "platform/list_input.h"
#include "platform/run_control.h"
#include "platform/shown_text.h"
#include "platform/vb_numeric.h"

namespace kv {

namespace {

using item_chars::ends_item;
using item_chars::is_blank;

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
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

  // The common record of an orbit or Poincare file in one pass: `fields` short decimals
  // (see short_decimal) separated by blanks, the line ended by CR LF or LF, the next record
  // starting the next line. Stores the values at index n of the columns and moves past the
  // line; false, having moved nothing, for any other record (number() then reads it, to
  // the same values where this stored any).
  bool fast_record(int fields, double* const* column, std::size_t n) {
    const char* p = p_;
    for (int f = 0;;) {
      double value;
      if (!decimal(p, value)) return false;
      column[f][n] = value;
      if (++f == fields) break;
      if (p == end_ || *p != ' ') return false;
      do ++p;
      while (p != end_ && *p == ' ');
    }
    while (p != end_ && (*p == ' ' || *p == '\r')) ++p;
    if (p == end_ || *p != '\n') return false;
    p_ = p + 1;
    ++line_;
    return true;
  }

  const char* position() const { return p_; }
  // The text moved: the scanner goes on at `p` (where position() now is) up to `end`.
  void move_to(const char* p, const char* end) {
    p_ = p;
    end_ = end;
  }

 private:
  // A short decimal (see short_decimal) at `p`, read up to the first character that cannot
  // continue it: true with `p` past it, or false (p moved anywhere) when it is none.
  bool decimal(const char*& p, double& value) const {
    static constexpr double kPowers[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (p == end_) return false;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    std::uint64_t digits = 0;
    const char* first = p;
    while (p != end_ && static_cast<unsigned char>(*p - '0') < 10)
      digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
    int count = static_cast<int>(p - first), places = 0;
    if (p != end_ && *p == '.') {
      const char* fraction = ++p;
      while (p != end_ && static_cast<unsigned char>(*p - '0') < 10)
        digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
      places = static_cast<int>(p - fraction);
      count += places;
    }
    if (count == 0 || count > 15) return false;
    const double v = static_cast<double>(digits);
    value = places > 0 ? v / kPowers[places] : v;
    if (negative) value = -value;
    return true;
  }

  // The common item in one pass: a short decimal ended by a blank, a comma, a line end or
  // the end of the text, with the blanks and the comma after it. False, having moved
  // nothing, for any other item.
  bool fast_number(double& value) {
    const char* p = p_;
    if (!decimal(p, value) || (p != end_ && !ends_item(*p))) return false;
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
    void* grown = c.data ? std::realloc(c.data.get(), size) : allocate_column(size);
    if (!grown) return false;
    (void)c.data.release();
    c.data.reset(grown);
  }
  return true;
}

// The file as a window of whole lines: on Windows a mapped file is one window; elsewhere
// the file is read in chunks, and the window holds the lines not yet scanned plus at least
// one chunk more (a line longer than that grows it), so memory stays bounded.
class LineWindow {
 public:
  explicit LineWindow(InputFile& file) : file_(file) {
    if (file.mapped()) {
      const std::string_view text = file.contents();
      begin_ = text.data();
      end_ = text.data() + text.size();
      eof_ = true;
    }
  }

  const char* begin() const { return begin_; }
  const char* end() const { return end_; }
  bool at_eof() const { return eof_; }
  // Fewer than a chunk of lines is left after `from`, and the file holds more.
  bool running_low(const char* from) const {
    return !eof_ && static_cast<std::size_t>(end_ - from) < kChunk;
  }

  // Keeps the text from `from` on and reads on until the window holds `lines` line ends
  // after it (at least a chunk of text), or the file ends. False on a read error (error()).
  bool refill(const char* from, int lines = 1) {
    if (eof_) return true;
    const std::size_t keep = static_cast<std::size_t>(from - buf_.data());
    std::memmove(buf_.data(), buf_.data() + keep, fill_ - keep);
    fill_ -= keep;
    for (;;) {
      if (fill_ + kChunk > buf_.size()) buf_.resize(std::max(buf_.size() * 2, 2 * kChunk));
      const long n = file_.read(buf_.data() + fill_, buf_.size() - fill_);
      if (n < 0) return false;
      if (n == 0) {
        eof_ = true;
        break;
      }
      fill_ += static_cast<std::size_t>(n);
      if (fill_ >= kChunk &&
          (lines == 1 ? std::memchr(buf_.data(), '\n', fill_) != nullptr
                      : std::count(buf_.data(), buf_.data() + fill_, '\n') >= lines))
        break;
    }
    begin_ = buf_.data();
    end_ = buf_.data() + fill_;
    if (!eof_)
      while (end_ != begin_ && end_[-1] != '\n') --end_;  // whole lines only
    return true;
  }

 private:
  static constexpr std::size_t kChunk = std::size_t{1} << 20;
  InputFile& file_;
  std::vector<char> buf_;
  std::size_t fill_ = 0;
  const char* begin_ = nullptr;
  const char* end_ = nullptr;
  bool eof_ = false;
};

}  // namespace

// On Linux a column of 4 MB or more is aligned to 2 MB and asks for huge pages, so that
// filling it takes a page fault per 2 MB instead of one per 4 kB (on a virtual machine the
// faults otherwise cost as much as the reading). It comes from the C library's allocator
// all the same (aligned_alloc), so free and realloc take it.
void* allocate_column(std::size_t size) {
#ifdef __linux__
  constexpr std::size_t kHuge = std::size_t{1} << 21;
  if (size >= 2 * kHuge) {
    const std::size_t rounded = (size + kHuge - 1) / kHuge * kHuge;
    if (void* p = std::aligned_alloc(kHuge, rounded)) {
      madvise(p, rounded, MADV_HUGEPAGE);  // advice only: without huge pages it still works
      return p;
    }
  }
#endif
  return std::malloc(size);
}

bool read_data_file_columns(const std::string& path, DataFileColumns& out, DataFileError& error,
                            RunControl& run) {
  out = DataFileColumns{};
  error = DataFileError{};
  InputFile file;
  if (!file.open(path, error.reason)) return false;
  LineWindow window(file);
  // The header's three lines (or the whole file when it is shorter) come first.
  if (!window.refill(window.begin(), 3)) {
    error.reason = file.error();
    return false;
  }
  std::string_view text(window.begin(), static_cast<std::size_t>(window.end() - window.begin()));
  const bool bom = text.substr(0, 3) == "\xEF\xBB\xBF";
  if (bom) text.remove_prefix(3);

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
  // can hold, or by a million records when the size is unknown) and grow by half when the
  // file holds more.
  std::size_t start = 0;
  for (int i = 0; i < header_lines; ++i) {
    const std::size_t nl = text.find('\n', start);
    start = nl == std::string_view::npos ? text.size() : nl + 1;
  }
  const char* const begin = text.data() + start;
  for (int f = 0; f < fields; ++f)
    out.columns.push_back({nullptr, out.kind == DataFileKind::spectrum && f == 1});
  const long long size =
      file.mapped() ? static_cast<long long>(file.contents().size()) : file.size();
  const std::size_t bound =
      size >= 0 ? static_cast<std::size_t>(size) / 2 + 1 : std::size_t{1} << 20;
  std::size_t capacity = std::min<std::size_t>(std::max(out.count, 0), bound);
  capacity = std::max<std::size_t>(capacity, 1024);
  if (!reserve(out, capacity)) {
    error.reason = "not enough memory for " + std::to_string(capacity) + " records";
    return false;
  }
  RecordScanner in(begin, window.end(), header_lines + 1);
  std::size_t n = 0;
  double* column[4] = {};
  float* power = nullptr;
  const auto place = [&] {
    for (int f = 0; f < fields; ++f) column[f] = static_cast<double*>(out.columns[f].data.get());
    power = static_cast<float*>(out.columns[1].data.get());
  };
  place();
  for (;;) {
    // Every record starts with at least a chunk of whole lines ahead of it (or the end of
    // the file), so that a record is never cut by the window's end.
    if (window.running_low(in.position())) {
      if (!window.refill(in.position())) {
        error.reason = file.error();
        return false;
      }
      in.move_to(window.begin(), window.end());
    }
    if (n < capacity && out.kind != DataFileKind::spectrum && in.fast_record(fields, column, n)) {
      if (++n % kCheckEvery == 0) {
        if (file.mapped()) file.release(in.position());
        if (run.halt_requested()) return false;
      }
      continue;
    }
    if (!in.more()) {
      if (window.at_eof()) break;
      continue;
    }
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
