// The record decoder on any bytes, through the replay box and the "Save orbit" recording
// engine, so the whole run is exercised: decoding, sinks and file. Beyond not
// crashing: a file that is kept reads back with the orbit reader, with exactly the data
// lines the run counted, never more than the whole 6-byte records given.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "acquisition/recording.h"
#include "acquisition/replay_box.h"
#include "datafiles/orbit_reader.h"
#include "platform/clock.h"
#include "platform/input_file.h"
#include "platform/run_control.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte chooses the point count (1..256); the rest are the records.
  const int points = data[0] + 1;
  std::string records(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t whole = records.size() / 6;
  static const std::string path = "/dev/shm/kv-fuzz-decode-" + std::to_string(::getpid()) + ".pha";
  std::remove(path.c_str());
  kv::ComputerClock clock;
  kv::RunToEnd run;
  const kv::RecordingOutcome r =
      kv::record_from_box(std::make_unique<kv::ReplayBox>(std::move(records), "fuzz"),
                          {kv::RecordingKind::Orbit, points, path}, clock, run);
  if (!r.ran || !r.kept) return 0;
  check(r.lines <= static_cast<long long>(whole), "more lines than records");
  // A recording of N points writes lines 0..N.
  check(r.lines <= points + 1, "more lines than points asked for");
  kv::InputFile file;
  std::string error;
  check(file.open(path, error), "the kept file cannot be opened");
  kv::OrbitReader in(file);
  double n = 0;
  std::string word;
  check(in.read_number(n) == kv::OrbitReader::Status::ok, "the header count does not read");
  check(in.read_word(word) == kv::OrbitReader::Status::ok && word == "PHASE", "no PHASE line");
  float v = 0;
  kv::OrbitReader::Status st;
  while ((st = in.read_velocity(v)) == kv::OrbitReader::Status::ok) {
  }
  if (st != kv::OrbitReader::Status::end) {
    std::fprintf(stderr, "%s\n", in.error().c_str());
    std::abort();
  }
  check(in.records() == r.lines, "the file holds another number of lines");
  std::remove(path.c_str());
  return 0;
}
