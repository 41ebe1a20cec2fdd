// kestavor-cli record: a "Save orbit" / "Save poincare" recording from a live box without a
// window. Ctrl-C acts as HALT (the recording is then not kept, as in the window).
#include <iostream>
#include <stdexcept>

#include "acquisition/recording_box.h"
#include "app/commands/box_choice.h"
#include "app/commands/headless_recording.h"
#include "cli/cli_registry.h"
#include "cli/interrupt_pointer.h"
#include "platform/services.h"

namespace kv::cli {
namespace {

int run_record(const std::vector<std::string>& args) {
  std::string box_spec, out, count, raw;
  RecordingKind kind = RecordingKind::Orbit;
  bool have_count = false, have_box = false;
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
    } else if (a == "--box") {
      box_spec = value();
      have_box = true;
    } else if (a == "-o") {
      out = value();
    } else if (a == "--raw") {
      raw = value();
    } else {
      throw std::invalid_argument("record: unexpected argument " + a);
    }
  }
  if (!have_box || !have_count || out.empty())
    throw std::invalid_argument(
        "usage: kestavor-cli record --box demo|usb[:VID:PID]|replay:FILE (--orbit N | "
        "--poincare N) -o FILE [--raw RAWFILE]");
  if (box_spec.empty()) throw std::invalid_argument("--box needs a box name");
  const long long n = parse_count(kind == RecordingKind::Orbit ? "--orbit" : "--poincare", count);
  if (n < 0) throw std::invalid_argument("the number of points must not be negative");
  if (kind == RecordingKind::Orbit && n > 1000000)
    throw std::invalid_argument("an orbit recording holds at most 1000000 points");
  if (n > 2147483647) throw std::invalid_argument("the number of points is too large");

  std::string error;
  std::unique_ptr<InterfaceBox> opened = open_box(box_spec, error);
  if (!opened) return fail(error);
  std::unique_ptr<RecordingBox> recorder;
  std::unique_ptr<InterfaceBox> box;
  if (!raw.empty()) {
    recorder = std::make_unique<RecordingBox>(std::move(opened), raw);
    if (!recorder->start()) return fail(recorder->error());
    box = std::make_unique<BorrowedBox>(*recorder);
  } else {
    box = std::move(opened);
  }

  HeadlessRecording job;
  job.kind = kind;
  job.count_reply = count;
  job.path = out;
  job.system_clock = true;
  HeadlessResult r;
  {
    InterruptPointer pointer;
    job.pointer = &pointer;
    r = record_headless(std::move(box), job);
  }

  int status = 0;
  if (recorder && !recorder->finish()) {
    std::cerr << "kestavor-cli: " << recorder->error() << "\n";
    status = 1;
  }
  for (const auto& m : r.messages) std::cerr << "kestavor-cli: " << m << "\n";
  if (!r.outcome.ran || !r.messages.empty()) return 1;
  switch (r.outcome.end) {
    case RunEnd::CountReached:
      break;
    case RunEnd::Halted:
      std::cerr << "kestavor-cli: interrupted: the recording was stopped and not kept\n";
      return 130;
    case RunEnd::EndOfData:
      std::cerr << "kestavor-cli: note: " << r.status << "\n";
      break;
    default:
      std::cerr << "kestavor-cli: " << r.status << "\n";
      return 1;
  }
  return status;
}

Register reg{{"record",
              "--box demo|usb[:VID:PID]|replay:FILE (--orbit N | --poincare N) -o FILE "
              "[--raw RAWFILE]",
              "record an orbit or Poincare file from a live interface box without a window",
              run_record}};

}  // namespace
}  // namespace kv::cli
