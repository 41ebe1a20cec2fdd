// kestavor-cli decode: turns a file of raw 6-byte records into the orbit or Poincare file
// that a "Save orbit" / "Save poincare" recording of N points would write from them.
#include <iostream>

#include "acquisition/replay_box.h"
#include "app/commands/headless_recording.h"
#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
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
  if (!box) return fail(error);
  if (box->has_partial_record())
    std::cerr << "kestavor-cli: note: " << records
              << " ends with a partial record, which is ignored\n";

  HeadlessRecording job;
  job.request.kind = kind;
  job.request.points = static_cast<std::int32_t>(count);
  job.request.path = out;
  SignalRunControl run;
  job.run = &run;
  const HeadlessResult r = record_headless(std::move(box), job);
  for (const auto& m : r.messages) std::cerr << "kestavor-cli: " << m << "\n";
  if (!r.outcome.ran || !r.messages.empty()) return 1;
  if (r.outcome.end == RunEnd::Halted) {
    std::cerr << "kestavor-cli: interrupted: the file was not kept\n";
    return run.exit_status();
  }
  if (!r.outcome.kept) {
    std::cerr << "kestavor-cli: " << r.outcome.reason << "\n";
    return 1;
  }
  if (r.outcome.end == RunEnd::EndOfData)
    std::cerr << "kestavor-cli: note: the records ran out after " << r.outcome.lines
              << " data lines; " << out << " holds them\n";
  return 0;
}

Register reg{{"decode", "RECORDS (--orbit N | --poincare N) -o FILE",
              "write the orbit or Poincare file a recording of N points makes from raw records",
              run_decode}};

}  // namespace
}  // namespace kv::cli
