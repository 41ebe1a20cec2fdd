// kestavor-mpi sweep: the sweep of kestavor-cli sweep spread over the ranks of an MPI job
// (mpirun -np K, or srun). Every rank reads the same arguments; rank 0 checks them, writes
// the file and computes cells too, the others compute the units rank 0 hands them. Units
// are handed out one at a time as results come back (two in flight per rank, so that a
// rank never waits for its next one), within a bounded window ahead of the next cell to
// write, and rank 0 writes the cells in grid order: the file is byte for byte the one
// kestavor-cli sweep writes, for any number of ranks.
#include <mpi.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <iostream>
#include <map>
#include <thread>

#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "cli/sweep_options.h"
#include "cli/sweep_output.h"

namespace kv::cli {
namespace {

constexpr int kTagUnit = 1;    // rank 0 to a worker: a unit number, or -1 to stop
constexpr int kTagResult = 2;  // a worker to rank 0: the cells of its oldest unit
constexpr int kInFlight = 2;   // units handed to a worker ahead of its results

// A unit's cells as doubles: per cell index, state, period, exponent, point count, then
// the points' phase and velocity. Texts are made again from the request on rank 0.
void pack(const SweepCell& c, std::vector<double>& out) {
  out.push_back(static_cast<double>(c.index));
  out.push_back(static_cast<double>(c.state));
  out.push_back(c.period);
  out.push_back(c.exponent);
  out.push_back(static_cast<double>(c.points.size()));
  for (const SweepPoint& p : c.points) {
    out.push_back(p.phase);
    out.push_back(p.velocity);
  }
}

std::vector<SweepCell> unpack(const SweepRequest& r, const std::vector<double>& in) {
  std::vector<SweepCell> cells;
  for (std::size_t i = 0; i + 5 <= in.size();) {
    SweepCell c;
    c.index = static_cast<std::int64_t>(in[i]);
    c.state = static_cast<CellState>(static_cast<int>(in[i + 1]));
    c.period = static_cast<int>(in[i + 2]);
    c.exponent = in[i + 3];
    const std::size_t n = static_cast<std::size_t>(in[i + 4]);
    i += 5;
    for (std::size_t k = 0; k < n; ++k, i += 2) c.points.push_back({in[i], in[i + 1]});
    c.ix = c.index % r.x.steps;
    c.iy = c.index / r.x.steps;
    c.x_text = value_text(axis_value(r.x, c.ix));
    if (r.y.box) c.y_text = value_text(axis_value(r.y, c.iy));
    cells.push_back(std::move(c));
  }
  return cells;
}

void worker(const SweepRequest& r) {
  std::vector<double> out;
  for (;;) {
    long long u = -1;
    MPI_Recv(&u, 1, MPI_LONG_LONG, 0, kTagUnit, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
    if (u < 0) return;
    out.clear();
    compute_unit(r, u, [&out](SweepCell&& c) { pack(c, out); }, {});
    MPI_Send(out.data(), static_cast<int>(out.size()), MPI_DOUBLE, 0, kTagResult, MPI_COMM_WORLD);
  }
}

// Rank 0: hands out units, computes units itself while no result waits (taking results
// and handing out more between the Poincare points of its own unit), and gives the cells
// to the sink in grid order.
SweepOutcome coordinate(const SweepRequest& r, int ranks, RunControl& run, const SweepSink& sink) {
  SweepOutcome out;
  const std::int64_t total = sweep_cells(r), units = sweep_units(r);
  const std::int64_t window = reorder_window(r, ranks);
  std::map<std::int64_t, SweepCell> pending;
  std::vector<int> in_flight(static_cast<std::size_t>(ranks), 0);
  std::vector<bool> stopped(static_cast<std::size_t>(ranks), false);
  std::deque<int> idle;  // workers with room for another unit
  std::int64_t next_unit = 0, next_out = 0;
  bool halted = false, sink_failed = false;

  const auto may_hand_out = [&] {
    return !halted && !sink_failed && next_unit < units &&
           unit_span(r, next_unit).first < next_out + window;
  };
  const auto stop_worker = [&](int w) {
    long long none = -1;
    MPI_Send(&none, 1, MPI_LONG_LONG, w, kTagUnit, MPI_COMM_WORLD);
    stopped[static_cast<std::size_t>(w)] = true;
  };
  const auto hand_out = [&] {
    while (!idle.empty() && may_hand_out()) {
      const int w = idle.front();
      idle.pop_front();
      if (stopped[static_cast<std::size_t>(w)]) continue;
      long long u = next_unit++;
      MPI_Send(&u, 1, MPI_LONG_LONG, w, kTagUnit, MPI_COMM_WORLD);
      if (++in_flight[static_cast<std::size_t>(w)] < kInFlight) idle.push_back(w);
    }
  };
  const auto flush = [&] {
    for (auto it = pending.find(next_out); it != pending.end() && !sink_failed;
         it = pending.find(next_out)) {
      const SweepCell& c = it->second;
      if (c.state == CellState::unstable) ++out.unstable;
      if (c.state == CellState::refused) ++out.refused;
      ++out.cells;
      if (!sink(c)) sink_failed = true;
      pending.erase(it);
      ++next_out;
      run.progress(out.cells, total);
    }
    if (!halted && next_out < total && run.halt_requested()) halted = true;
  };
  const auto workers_done = [&] {
    for (int w = 1; w < ranks; ++w)
      if (!stopped[static_cast<std::size_t>(w)]) return false;
    return true;
  };

  // Takes every result that has come and hands its worker more; true when one came.
  std::vector<double> buffer;
  const auto serve = [&] {
    bool came = false;
    for (;;) {
      int waiting = 0;
      MPI_Status status;
      MPI_Iprobe(MPI_ANY_SOURCE, kTagResult, MPI_COMM_WORLD, &waiting, &status);
      if (!waiting) break;
      int n = 0;
      MPI_Get_count(&status, MPI_DOUBLE, &n);
      buffer.resize(static_cast<std::size_t>(n));
      MPI_Recv(buffer.data(), n, MPI_DOUBLE, status.MPI_SOURCE, kTagResult, MPI_COMM_WORLD,
               MPI_STATUS_IGNORE);
      const int w = status.MPI_SOURCE;
      if (in_flight[static_cast<std::size_t>(w)]-- == kInFlight) idle.push_back(w);
      for (SweepCell& c : unpack(r, buffer)) pending.emplace(c.index, std::move(c));
      came = true;
    }
    if (came) hand_out();
    return came;
  };

  for (int w = 1; w < ranks; ++w) idle.push_back(w);
  run.progress(0, total);
  for (;;) {
    hand_out();
    // Workers with nothing in flight and nothing more to do are told to stop.
    if (halted || sink_failed || next_unit >= units)
      for (int w = 1; w < ranks; ++w)
        if (!stopped[static_cast<std::size_t>(w)] && in_flight[static_cast<std::size_t>(w)] == 0)
          stop_worker(w);
    const bool finished = next_out >= total || halted || sink_failed;
    if (finished && workers_done()) break;

    if (serve()) {
      flush();
      continue;
    }
    if (may_hand_out()) {
      // No result waits: rank 0 computes the next unit itself, and between its Poincare
      // points takes the results that come and hands out more, so that no worker waits
      // for the length of a unit.
      compute_unit(
          r, next_unit++, [&pending](SweepCell&& c) { pending.emplace(c.index, std::move(c)); },
          [&serve] {
            serve();
            return false;
          });
      flush();
      continue;
    }
    if (!finished) flush();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  if (sink_failed) {
    out.reason = "the sweep's rows could not be written.";
    return out;
  }
  out.status = halted ? Status::halted : Status::done;
  return out;
}

int usage_error(int rank, const std::string& message) {
  if (rank == 0) std::cerr << "kestavor-mpi: " << message << "\n";
  return 2;
}

int run(int argc, char** argv, int rank, int ranks) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool help = std::find(args.begin(), args.end(), "--help") != args.end() ||
                    std::find(args.begin(), args.end(), "-h") != args.end();
  if (args.empty() || help) {
    // Asked for, the usage goes to standard output; without arguments, to standard error.
    if (rank == 0)
      (args.empty() ? std::cerr : std::cout)
          << "Usage: mpirun -np K kestavor-mpi sweep " << sweep_usage()
          << "\nRuns kestavor-cli sweep over the ranks of an MPI job; the file is the "
             "one kestavor-cli sweep writes.\n";
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--version") {
    if (rank == 0) std::cout << "kestavor-mpi " << KESTAVOR_VERSION << "\n";
    return 0;
  }
  if (args[0] != "sweep") return usage_error(rank, "the only command is sweep");
  SweepOptions o;
  if (std::string e = read_sweep_options({args.begin() + 1, args.end()}, o); !e.empty())
    return usage_error(rank, e);
  if (std::string e = check_sweep_output(o); !e.empty()) return usage_error(rank, e);
  if (!o.png.empty())
    return usage_error(rank,
                       "kestavor-mpi writes no pictures: draw the file's picture with "
                       "kestavor-cli sweep ... --png, or read the CSV file");

  if (rank != 0) {
    worker(o.request);
    return 0;
  }
  SignalRunControl control;
  control.show_progress("cells", o.quiet);
  bool coordinated = false;
  const SweepRunner engine = [&](const SweepRequest& r, const SweepSink& sink) {
    coordinated = true;
    return coordinate(r, ranks, control, sink);
  };
  int status = write_sweep("kestavor-mpi", o, engine, KESTAVOR_VERSION,
                           [&control] { control.end_progress(); });
  // The file could not be opened: the workers, still waiting for a unit, are let go.
  if (!coordinated) {
    long long none = -1;
    for (int w = 1; w < ranks; ++w) MPI_Send(&none, 1, MPI_LONG_LONG, w, kTagUnit, MPI_COMM_WORLD);
  }
  if (status == kSweepHalted) status = control.exit_status();
  return status;
}

}  // namespace
}  // namespace kv::cli

int main(int argc, char** argv) {
  MPI_Init(&argc, &argv);
  int rank = 0, ranks = 1;
  MPI_Comm_rank(MPI_COMM_WORLD, &rank);
  MPI_Comm_size(MPI_COMM_WORLD, &ranks);
  int status = 0;
  try {
    status = kv::cli::run(argc, argv, rank, ranks);
  } catch (const std::exception& e) {
    std::cerr << "kestavor-mpi: " << e.what() << "\n";
    MPI_Abort(MPI_COMM_WORLD, 1);
  }
  // Rank 0's status is the job's: the others follow it.
  MPI_Bcast(&status, 1, MPI_INT, 0, MPI_COMM_WORLD);
  MPI_Finalize();
  return status;
}
