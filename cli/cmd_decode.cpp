// kestavor-cli decode: turns a file of raw 6-byte records into the orbit or Poincare file
// that a "Save orbit" / "Save poincare" recording of N points would write from them.
#include <iostream>
#include <stdexcept>

#include "acquisition/replay_box.h"
#include "app/commands/headless_recording.h"
#include "cli/cli_registry.h"

namespace kv::cli {
namespace {

int run_decode(const std::vector<std::string>& args) {
  std::string records, out, count;
  RecordingKind kind = RecordingKind::Orbit;
  bool have_count = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw std::invalid_argument(a + " needs a value");
      return args[++i];
    };
    if (a == "--orbit" || a == "--poincare") {
      if (have_count) throw std::invalid_argument("give only one of --orbit and --poincare");
      kind = a == "--orbit" ? RecordingKind::Orbit : RecordingKind::Poincare;
      count = value();
      have_count = true;
    } else if (a == "-o") {
      out = value();
    } else if (!a.empty() && a[0] == '-') {
      throw std::invalid_argument("decode: unknown option " + a);
    } else if (records.empty()) {
      records = a;
    } else {
      throw std::invalid_argument("decode: only one RECORDS file can be given");
    }
  }
  if (records.empty() || !have_count || out.empty())
    throw std::invalid_argument(
        "usage: kestavor-cli decode RECORDS (--orbit N | --poincare N) -o FILE");
  const long long n = parse_count(kind == RecordingKind::Orbit ? "--orbit" : "--poincare", count);
  if (n < 0) throw std::invalid_argument("the number of points must not be negative");
  if (kind == RecordingKind::Orbit && n > 1000000)
    throw std::invalid_argument("an orbit recording holds at most 1000000 points");
  if (n > 2147483647) throw std::invalid_argument("the number of points is too large");

  std::string error;
  auto box = ReplayBox::open(records, error);
  if (!box) return fail(error);
  if (box->has_partial_record())
    std::cerr << "kestavor-cli: note: " << records
              << " ends with a partial record, which is ignored\n";

  HeadlessRecording job;
  job.kind = kind;
  job.count_reply = count;
  job.path = out;
  const HeadlessResult r = record_headless(std::move(box), job);
  for (const auto& m : r.messages) std::cerr << "kestavor-cli: " << m << "\n";
  if (!r.outcome.ran || !r.messages.empty()) return 1;
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
