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

int run_record(const std::vector<std::string>& args) {
  std::string box_choice, out, raw;
  SaveCount save;
  bool have_box = false, quiet = false;
  ArgReader in(args);
  while (in.next()) {
    const std::string& a = in.arg();
    if (take_save_count(in, save)) continue;
    if (a == "--box") {
      box_choice = in.value();
      have_box = true;
    } else if (a == "-o") {
      out = in.value();
    } else if (a == "--raw") {
      raw = in.value();
    } else if (a == "--quiet") {
      quiet = true;
    } else {
      return fail("record: unexpected argument " + a);
    }
  }
  if (in.failed()) return fail(in.error());
  if (!have_box || save.option.empty() || out.empty())
    return fail(
        "usage: kestavor-cli record --box demo|usb[:VID:PID]|replay:FILE (--orbit N | "
        "--poincare N) -o FILE [--raw RAWFILE] [--quiet]");
  if (box_choice.empty()) return fail("--box needs a box name");
  const Count points = recording_count(save);
  if (!points.error.empty()) return fail(points.error);
  const long long count = points.value;
  const RecordingKind kind = save.orbit() ? RecordingKind::Orbit : RecordingKind::Poincare;

  // No output may be the replayed file or the other output.
  const std::string replay =
      box_choice.rfind("replay:", 0) == 0 ? box_choice.substr(7) : std::string();
  if (!replay.empty() && same_file(out, replay))
    return fail("-o " + out + " names the replayed file; nothing was read or written");
  if (!replay.empty() && !raw.empty() && same_file(raw, replay))
    return fail("--raw " + raw + " names the replayed file; nothing was read or written");
  if (!raw.empty() && (raw == out || same_file(raw, out)))
    return fail("--raw and -o name the same file " + out + "; nothing was read or written");

  BoxOpening opening = open_box(box_choice);
  if (opening.status == BoxOpening::Status::unknown_choice) return fail(opening.reason);
  if (!opening.box) {
    std::cerr << "kestavor-cli: " << opening.reason << "\n";
    return 1;
  }
  std::unique_ptr<InterfaceBox> opened = std::move(opening.box);
  std::unique_ptr<RecordingBox> recorder;
  std::unique_ptr<InterfaceBox> box;
  if (!raw.empty()) {
    recorder = std::make_unique<RecordingBox>(std::move(opened), raw);
    if (!recorder->start()) {
      std::cerr << "kestavor-cli: " << recorder->error() << "\n";
      return 1;
    }
    box = std::make_unique<BorrowedBox>(*recorder);
  } else {
    box = std::move(opened);
  }

  RecordingOutcome r;
  int signal = 0;
  {
    SignalRunControl run;
    run.show_progress("points", quiet);
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
              "--box demo|usb[:VID:PID]|replay:FILE (--orbit N | --poincare N) -o FILE "
              "[--raw RAWFILE] [--quiet]",
              "record an orbit or Poincare file from a live interface box without a window",
              run_record}};

}  // namespace
}  // namespace kv::cli
