// The Lyapunov exponent of an orbit file as the spectrum command shows it: reads the
// velocity column of the file's first 12000 records, runs the estimate with its progress
// marks in Text67/Text68 and HALT asked of the run control for every candidate, and leaves the
// result in lyapunov_exponent and the status text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "datafiles/orbit_reader.h"

namespace kv {
struct Form1;
class RunControl;

inline constexpr int kLyapunovRecords = 12000;  // records read after the header
inline constexpr int kLyapunovSkipped = 200;    // leading records discarded

inline constexpr const char* kLyapunovCalculating =
    "Calculating Lyapunov Exponent\r\n               Please wait\r\n";
inline constexpr const char* kLyapunovResult = "Lyapunov exponent=";
inline constexpr const char* kLyapunovTooShort =
    "Lyapunov exponent: file too short (12000 records needed)";

struct LyapunovRun {
  // no_estimate: the estimate ran, but no step had a growth rate (no neighbour at a
  // nonzero distance was found); the status text is the designed one.
  enum class Outcome { finished, halted, too_short, unreadable, no_estimate };
  Outcome outcome = Outcome::unreadable;
  double exponent = 0;  // as left in lyapunov_exponent
  int steps = 0;        // evolution steps done
  std::string error;    // for unreadable: what is wrong, naming the file and line
  std::string text;     // for finished and too_short: the status text shown
};

// The status text of a finished estimate: "Lyapunov exponent=" and the value in "#.###".
std::string lyapunov_status_text(double exponent);

// Reads the orbit file at `path` as far as record 12000 and estimates its exponent.
// `run` is asked about HALT once per candidate.
LyapunovRun lyapunov(Form1& f, const std::string& path, RunControl& run);
// The same over the file's text already in memory; `path` only names it in messages.
LyapunovRun lyapunov_of_text(Form1& f, std::string_view text, const std::string& path,
                             RunControl& run);

// For a command that reads the file for its own purpose first: call after `in` has read
// the header and before it reads a record, so that records 1..12000 are kept as they go
// by; then lyapunov_of_reader(f, in, velocities, OrbitReader::Status::ok, path, run) reads only
// what is still missing and estimates the exponent (`header` is the outcome of reading
// the header: anything but ok ends the estimate as too short or unreadable).
void collect_lyapunov_velocities(OrbitReader& in, std::vector<float>& velocities);
LyapunovRun lyapunov_of_reader(Form1& f, OrbitReader& in, const std::vector<float>& velocities,
                               OrbitReader::Status header, const std::string& path,
                               RunControl& run);

}  // namespace kv
