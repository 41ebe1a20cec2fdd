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

int run_decode(const std::vector<std::string>& args) {
  std::string records, out;
  SaveCount save;
  ArgReader in(args);
  while (in.next()) {
    const std::string& a = in.arg();
    if (take_save_count(in, save)) continue;
    if (a == "-o") {
      out = in.value();
    } else if (!a.empty() && a[0] == '-') {
      return fail("decode: unknown option " + a);
    } else if (records.empty()) {
      records = a;
    } else {
      return fail("decode: only one RECORDS file can be given");
    }
  }
  if (in.failed()) return fail(in.error());
  if (records.empty() || save.option.empty() || out.empty())
    return fail("usage: kestavor-cli decode RECORDS (--orbit N | --poincare N) -o FILE");
  const Count points = recording_count(save);
  if (!points.error.empty()) return fail(points.error);
  const long long count = points.value;
  const RecordingKind kind = save.orbit() ? RecordingKind::Orbit : RecordingKind::Poincare;

  if (same_file(out, records))
    return fail("-o " + out + " names the records file; nothing was read or written");
  std::string error;
  auto box = ReplayBox::open(records, error);
  if (!box) {
    std::cerr << "kestavor-cli: " << error << "\n";
    return 1;
  }
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

Register reg{{"decode", "RECORDS (--orbit N | --poincare N) -o FILE",
              "write the orbit or Poincare file a recording of N points makes from raw records",
              run_decode}};

}  // namespace
}  // namespace kv::cli
