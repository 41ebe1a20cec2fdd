// The arguments of a sweep, shared by kestavor-cli sweep and kestavor-mpi sweep: the
// panel's parameter options (the base panel), the swept parameter(s) and their ranges,
// the counts, the kind and the start mode, and the files to write.
#pragma once

#include <string>
#include <vector>

#include "sweep/sweep.h"
#include "sweep/sweep_picture.h"

namespace kv::cli {

struct SweepOptions {
  SweepRequest request;
  std::string out;                        // the CSV file
  std::string png;                        // the picture; empty for none
  OrbitAxis png_axis = OrbitAxis::phase;  // an orbit diagram's vertical axis
  bool quiet = false;                     // no progress line
};

// The usage line of `program` sweep.
std::string sweep_usage();

// Reads the arguments after "sweep" into `o`; an empty text when they are usable,
// otherwise the usage error (the request itself is checked by check_sweep).
std::string read_sweep_options(const std::vector<std::string>& args, SweepOptions& o);

// The command line that repeats the sweep (base panel, axes, counts, kind, mode), without
// the files and the thread count, for the file's header.
std::string repeat_command(const SweepRequest& r);

}  // namespace kv::cli
