// The leading-number parse (Val) on any text. Beyond not crashing: never NaN; blanks in
// front change nothing; text after a complete number changes nothing once a blank ends
// it; a number printed shortest reads back exactly.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/list_input.h"
#include "tests/fuzz/fuzz_check.h"

namespace {
bool same(double a, double b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double v = kv::leading_number(text);
  check(!std::isnan(v), "NaN");
  check(same(kv::leading_number(" \t " + text), v), "leading blanks change the value");
  const std::size_t start = text.find_first_not_of(" \t");
  if (start != std::string::npos) {
    const std::string prefix = text.substr(0, text.find(' ', start));
    check(same(kv::leading_number(prefix + " 7"), kv::leading_number(prefix)),
          "text after a blank changes the value");
  }
  if (size >= 8) {
    double d;
    std::memcpy(&d, data, 8);
    if (std::isfinite(d)) {
      char buf[64];
      const std::string printed(buf, std::to_chars(buf, buf + sizeof buf, d).ptr);
      check(kv::leading_number(printed) == d, "a printed number does not read back");
      check(kv::leading_number(printed + " " + text) == d, "text after it changes a number");
    }
  }
  return 0;
}
