// Writing a sweep to its files, shared by kestavor-cli sweep and kestavor-mpi sweep (on
// rank 0): the CSV file through a temporary file that replaces the chosen one only when
// the sweep ran to its end.
#pragma once

#include <functional>
#include <string>

#include "cli/sweep_options.h"
#include "sweep/sweep.h"

namespace kv::cli {

// Runs the sweep of a request, handing every cell to the sink in grid order.
using SweepRunner = std::function<SweepOutcome(const SweepRequest&, const SweepSink&)>;

inline constexpr int kSweepHalted = -1;

// Checks the request before any work; the usage error or empty.
std::string check_sweep_output(const SweepOptions& o);

// Runs `engine` into o.out; prints the summary or what went wrong. `done` is
// called when the engine has finished (to erase a progress line). Returns the exit status,
// or kSweepHalted when HALT or a signal stopped it (nothing was replaced).
int write_sweep(const SweepOptions& o, const SweepRunner& engine, const std::string& version,
                const std::function<void()>& done);

}  // namespace kv::cli
