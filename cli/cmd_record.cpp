// kestavor-cli record: a "Save orbit" / "Save poincare" recording from a live box without a
// window. Ctrl-C acts as HALT (the recording is then not kept, as in the window).
#include <iostream>

#include "acquisition/recording.h"
#include "acquisition/recording_box.h"
#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "platform/clock.h"
#include "platform/text_files.h"
#include "simulation/box_choice.h"

namespace kv::cli {
namespace {

struct Arguments {
  std::string box, out, raw;
  SaveCount save;
  bool quiet = false;
} opt;

void declare(Options& o) {
  std::string kinds = box_help("  ");
  kinds.pop_back();  // the last line's end
  o.text("--box", opt.box, box_choices(), "the interface box:\n" + kinds, true);
  o.save_count(opt.save, 1000000, 2147483647);
  o.output(opt.out, "FILE");
  o.text("--raw", opt.raw, "RAWFILE", "also save the raw records read from the box");
  o.flag("--quiet", opt.quiet, "show no progress line");
}

int run_record() {
  const std::string& box_choice = opt.box;
  const std::string& out = opt.out;
  const std::string& raw = opt.raw;
  if (box_choice.empty()) return usage_error("--box needs a box name");
  std::string_view box_argument;
  if (!find_box_kind(box_choice, box_argument))
    return usage_error("--box: " + open_box(box_choice).reason);
  const long long count = opt.save.points;
  const RecordingKind kind = opt.save.orbit ? RecordingKind::Orbit : RecordingKind::Poincare;

  // No output may be the replayed file or the other output.
  const std::string replay = box_input_file(box_choice);
  if (!replay.empty() && same_file(out, replay))
    return usage_error("-o " + out + " names the replayed file; nothing was read or written");
  if (!replay.empty() && !raw.empty() && same_file(raw, replay))
    return usage_error("--raw " + raw + " names the replayed file; nothing was read or written");
  if (!raw.empty() && (raw == out || same_file(raw, out)))
    return usage_error("--raw and -o name the same file " + out + "; nothing was read or written");

  BoxOpening opening = open_box(box_choice);
  if (opening.status == BoxOpening::Status::unknown_choice)
    return usage_error("--box: " + opening.reason);
  if (!opening.box) return failed(opening.reason);
  std::unique_ptr<InterfaceBox> opened = std::move(opening.box);
  std::unique_ptr<RecordingBox> recorder;
  std::unique_ptr<InterfaceBox> box;
  if (!raw.empty()) {
    recorder = std::make_unique<RecordingBox>(std::move(opened), raw);
    if (!recorder->start()) return failed(recorder->error());
    box = std::make_unique<BorrowedBox>(*recorder);
  } else {
    box = std::move(opened);
  }

  RecordingOutcome r;
  int signal = 0;
  {
    SignalRunControl run;
    run.show_progress("points", opt.quiet);
    SystemClock clock;
    r = record_from_box(std::move(box), {kind, static_cast<std::int32_t>(count), out}, clock, run);
    signal = run.signal();
  }

  const bool raw_kept = !recorder || recorder->finish();
  if (!raw_kept) std::cerr << "kestavor-cli: " << recorder->error() << "\n";
  if (r.halted()) {
    std::cerr << "kestavor-cli: interrupted: the recording was stopped and not kept\n";
  } else if (!r.done()) {
    if (!r.file_error.empty()) std::cerr << "kestavor-cli: " << r.file_error << "\n";
    if (!r.summary.empty() || r.file_error.empty())
      std::cerr << "kestavor-cli: " << (r.summary.empty() ? r.reason : r.summary) << "\n";
  } else if (!r.summary.empty()) {
    std::cerr << "kestavor-cli: note: " << r.summary << "\n";
  }
  const int status = exit_status(r, signal);
  return status == 0 && !raw_kept ? 1 : status;
}

Register reg{{"record",
              "record an orbit or Poincare file from a live interface box without a window",
              declare, run_record}};

}  // namespace
}  // namespace kv::cli
