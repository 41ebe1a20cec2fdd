// The Lyapunov exponent of an orbit file: reads the velocity column of the file's first
// 12000 records, runs the estimate with HALT asked of the run control for every candidate,
// and leaves the result in lyapunov_exponent and in the outcome. What the screen shows
// while it runs (a "calculating" text, progress marks) is up to the caller, through the
// request's watch.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chaos/lyapunov_estimate.h"
#include "datafiles/orbit_reader.h"
#include "platform/outcome.h"

namespace kv {
struct ChaosState;
class RunControl;

inline constexpr int kLyapunovRecords = 12000;  // records read after the header
inline constexpr int kLyapunovSkipped = 200;    // leading records discarded

inline constexpr const char* kLyapunovResult = "Lyapunov exponent=";
inline constexpr const char* kLyapunovTooShort =
    "Lyapunov exponent: file too short (12000 records needed)";

// Told as the estimate runs; either may be left empty.
struct LyapunovWatch {
  // The file is taken as an orbit file and its records are about to be read.
  std::function<void()> started;
  // An evolution step has been counted (lyapunov_exponent already holds the running value).
  std::function<void(const LyapunovStep&)> step_done;
};

struct LyapunovRequest {
  std::string path;  // the orbit file; in messages, its name
  LyapunovWatch watch{};
};

// done: an exponent was estimated. halted. refused: the file holds fewer than 12000
// records, or the estimate ran but no step had a growth rate (no neighbour at a nonzero
// distance was found). failed: the file cannot be read or is not an orbit file. The
// reason (refused, failed) names the file and what is wrong.
struct LyapunovRun : Outcome {
  double exponent = 0;  // as left in lyapunov_exponent
  int steps = 0;        // evolution steps done
  std::string text;     // done, refused: the status text as the window shows it
};

// The status text of a finished estimate: "Lyapunov exponent=" and the value in "#.###".
std::string lyapunov_status_text(double exponent);

// Reads the orbit file of the request as far as record 12000 and estimates its exponent.
// `run` is asked about HALT once per candidate and told the progress of every step.
LyapunovRun lyapunov(ChaosState& chaos, const LyapunovRequest& request, RunControl& run);
// The same over the file's text already in memory; the request's path only names it.
LyapunovRun lyapunov_of_text(ChaosState& chaos, std::string_view text,
                             const LyapunovRequest& request, RunControl& run);

// For a command that reads the file for its own purpose first: call after `in` has read
// the header and before it reads a record, so that records 1..12000 are kept as they go
// by; then lyapunov_of_reader(chaos, in, velocities, OrbitReader::Status::ok, request, run)
// reads only what is still missing and estimates the exponent (`header` is the outcome of
// reading the header: anything but ok ends the estimate as too short or unreadable).
void collect_lyapunov_velocities(OrbitReader& in, std::vector<float>& velocities);
LyapunovRun lyapunov_of_reader(ChaosState& chaos, OrbitReader& in,
                               const std::vector<float>& velocities, OrbitReader::Status header,
                               const LyapunovRequest& request, RunControl& run);

}  // namespace kv
