// The recording commands "Save orbit" and "Save poincare" with what became of the
// recording, for callers that need more than the window does (kestavor-cli). Text13_Click
// and Text14_Click run exactly these.
#pragma once

#include <cstdint>
#include <string>

#include "acquisition/get_data.h"

namespace kv {
struct Form1;

struct RecordingOutcome {
  bool ran = false;  // a file was opened and a run made
  RunEnd end = RunEnd::Halted;
  bool kept = false;    // the file was kept at its path
  long long lines = 0;  // data lines written
  std::string path;
};

RecordingOutcome save_orbit(Form1& f);     // "Save orbit"
RecordingOutcome save_poincare(Form1& f);  // "Save poincare"

// A reply to the point-count box: its leading number rounded half to even ("abc" reads as
// 0). Cancel: an empty reply or a negative value (the command ends and closes any open data
// file); TooLarge: a value beyond 32 bits (the command ends silently); Ok: `n` is set.
enum class PointCountReply { Cancel, TooLarge, Ok };
PointCountReply parse_point_count(const std::string& reply, std::int32_t& n);

}  // namespace kv
