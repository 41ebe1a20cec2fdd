// The record decoder on any bytes, decoded into a light sink: each record is read from the
// replay box and decoded as the acquisition run decodes it, and the sample's orbit line is
// formatted as the data file sink formats it, into memory (no drawing surface, no file), so
// that each input takes microseconds. Beyond not crashing: no more lines than whole 6-byte
// records or than the points asked for, and the text reads back with the orbit reader with
// exactly the lines written.
#include <cstdint>
#include <string>

#include "acquisition/replay_box.h"
#include "acquisition/sample_decoder.h"
#include "datafiles/data_lines.h"
#include "datafiles/orbit_reader.h"
#include "datafiles/pendulum_units.h"
#include "platform/number_format.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte chooses the point count (1..256); the rest are the records.
  const int points = data[0] + 1;
  std::string records(reinterpret_cast<const char*>(data) + 1, size - 1);
  const long long whole = static_cast<long long>(records.size() / 6);
  kv::ReplayBox box(std::move(records), "fuzz");
  kv::DecoderState state;
  kv::start_decoding(state);
  std::string text = kv::format_print_integer(points) + "\r\nPHASE\r\n";
  long long lines = 0;
  kv::SampleRecord record{};
  char line[160];
  // A recording of N points writes lines 0..N.
  while (lines <= points && box.read(record, 0) == kv::BoxRead::Ok) {
    const kv::DecodedSample s = kv::decode_record(state, record);
    if (!s.lines_due) continue;
    const std::size_t len = kv::format_orbit_line(line, s.time, kv::phase_of_count(s.angle_count),
                                                  s.velocity * kv::kRadPerSecPerV, s.revolutions);
    text.append(line, len);
    text += "\r\n";
    ++lines;
  }
  check(lines <= whole, "more lines than records");
  kv::OrbitReader in(text);
  double n = 0;
  std::string word;
  check(in.read_number(n) == kv::OrbitReader::Status::ok, "the header count does not read");
  check(in.read_word(word) == kv::OrbitReader::Status::ok && word == "PHASE", "no PHASE line");
  float v = 0;
  kv::OrbitReader::Status st;
  while ((st = in.read_velocity(v)) == kv::OrbitReader::Status::ok) {
  }
  check(st == kv::OrbitReader::Status::end, "a line the writer made does not read back");
  check(in.records() == lines, "the text holds another number of lines");
  return 0;
}
