// Writing a sweep to its files, shared by kestavor-cli sweep and kestavor-mpi sweep (on
// rank 0): the CSV file through a temporary file that replaces the chosen one only when
// the sweep ran to its end, then its picture.
#pragma once

#include <functional>
#include <string>

#include "cli/sweep_options.h"
#include "sweep/sweep.h"

namespace kv::cli {

// Runs the sweep of a request, handing every cell to the sink in grid order.
using SweepRunner = std::function<SweepOutcome(const SweepRequest&, const SweepSink&)>;

inline constexpr int kSweepHalted = -1;

// Writes the picture of the sweep file o.out to o.png; false with the reason in `error`.
using SweepPictureWriter = std::function<bool(const SweepOptions& o, std::string& error)>;

// Checks the request before any work; the usage error or empty.
std::string check_sweep_output(const SweepOptions& o);

// Runs `engine` into o.out, then draws o.png with `picture` (when asked for); prints the
// summary or what went wrong (messages start with `program`). `done` is
// called when the engine has finished (to erase a progress line). Returns the exit status,
// or kSweepHalted when HALT or a signal stopped it (nothing was replaced).
int write_sweep(const std::string& program, const SweepOptions& o, const SweepRunner& engine,
                const std::string& version, const std::function<void()>& done,
                const SweepPictureWriter& picture = {});

}  // namespace kv::cli
