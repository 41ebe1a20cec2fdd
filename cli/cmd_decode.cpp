// kestavor-cli decode: turns a file of raw 6-byte records into the orbit or Poincare file
// that a "Save orbit" / "Save poincare" recording of N points would write from them.
#include <iostream>

#include "acquisition/recording.h"
#include "acquisition/replay_box.h"
#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "platform/clock.h"
#include "platform/text_files.h"

namespace kv::cli {
namespace {

struct Arguments {
  std::string records, out;
  SaveCount save;
} opt;

void declare(Options& o) {
  o.file(opt.records, "RECORDS", "raw 6-byte records (kestavor-cli record --raw)");
  o.save_count(opt.save, 1000000, 2147483647);
  o.output(opt.out, "FILE");
}

int run_decode() {
  const std::string& records = opt.records;
  const std::string& out = opt.out;
  const long long count = opt.save.points;
  const RecordingKind kind = opt.save.orbit ? RecordingKind::Orbit : RecordingKind::Poincare;

  if (same_file(out, records))
    return usage_error("-o " + out + " names the records file; nothing was read or written");
  std::string error;
  auto box = ReplayBox::open(records, error);
  if (!box) return failed(error);
  if (box->has_partial_record())
    std::cerr << "kestavor-cli: note: " << records
              << " ends with a partial record, which is ignored\n";

  SignalRunControl run;
  ComputerClock clock;  // the records are read as fast as they decode
  const RecordingOutcome r =
      record_from_box(std::move(box), {kind, static_cast<std::int32_t>(count), out}, clock, run);
  if (r.halted()) {
    std::cerr << "kestavor-cli: interrupted: the file was not kept\n";
  } else if (!r.done()) {
    std::cerr << "kestavor-cli: " << r.reason << "\n";
  } else if (r.end == RunEnd::EndOfData) {
    std::cerr << "kestavor-cli: note: the records ran out after " << r.lines << " data lines; "
              << out << " holds them\n";
  }
  return exit_status(r, run.signal());
}

Register reg{{"decode",
              "write the orbit or Poincare file a recording of N points makes from raw records",
              declare, run_decode}};

}  // namespace
}  // namespace kv::cli
