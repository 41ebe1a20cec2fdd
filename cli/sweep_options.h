// The arguments of a sweep, shared by kestavor-cli sweep and kestavor-mpi sweep: the
// panel's parameter options (the base panel), the swept parameter(s) and their ranges,
// the counts, the kind and the start mode, and the files to write.
#pragma once

#include <string>
#include <vector>

#include "sweep/sweep.h"
#include "sweep/sweep_picture.h"
#include "sweep/sweep_texts.h"

namespace kv::cli {

struct SweepOptions {
  SweepRequest request;
  std::string out;                        // the CSV file
  std::string png;                        // the picture; empty for none
  OrbitAxis png_axis = OrbitAxis::phase;  // an orbit diagram's vertical axis
  bool quiet = false;                     // no progress line
};

class Options;

// The sweep's options as given, before finish_sweep_options reads them (sweep_texts.h,
// as the window's dialog does) and fills `options.request`. The panel's texts and the
// flags land in `options` directly.
struct SweepArguments {
  SweepOptions options;
  SweepTexts texts;
  std::string png_axis;
};

// Declares the sweep's options, filling `a` (which must outlive the reading).
void declare_sweep_options(Options& options, SweepArguments& a);
// After the command line was read: the request made from the texts; an empty text when
// they are usable, otherwise the usage error (the request itself is checked by check_sweep).
std::string finish_sweep_options(SweepArguments& a);

// The usage line of `program` sweep, made from the declarations.
std::string sweep_usage();

// Reads the arguments after "sweep" into `o` (kestavor-mpi, which has no other command);
// an empty text when they are usable, otherwise the usage error.
std::string read_sweep_options(const std::vector<std::string>& args, SweepOptions& o);

}  // namespace kv::cli
