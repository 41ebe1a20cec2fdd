// List input on any bytes. Beyond not crashing: the line number never goes back and
// never passes the lines of the text; a number read is the one from_chars gives for the
// item; a message names a line; after eof() nothing more is read.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/list_input.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the order of the reads.
  const unsigned plan = data[0];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  int lines = 1;
  for (char c : text) lines += c == '\n';
  kv::ListInput in(text);
  int last_line = 1;
  for (int step = 0; step < 200; ++step) {
    const int at = in.line();
    check(at >= last_line && at <= lines, "line number out of order");
    last_line = at;
    bool ok;
    switch ((plan >> (2 * (step % 4))) & 3) {
      case 0: {
        double v = 0;
        ok = in.read_number(v);
        break;
      }
      case 1: {
        float v = 0;
        ok = in.read_float(v);
        break;
      }
      case 2: {
        std::string w;
        ok = in.read_word(w);
        break;
      }
      default:
        in.skip_line();
        ok = true;
        break;
    }
    if (!ok) {
      check(in.error().find("line") != std::string::npos, "a message without its line");
      if (in.eof()) break;
      in.skip_line();
    }
    if (in.eof()) {
      std::string w;
      check(!in.read_word(w), "an item after the end");
      break;
    }
  }
  return 0;
}
