// kestavor-cli record: a "Save orbit" / "Save poincare" recording from a live box without a
// window. Ctrl-C acts as HALT (the recording is then not kept, as in the window).
#include <iostream>

#include "acquisition/recording_box.h"
#include "app/commands/box_choice.h"
#include "app/commands/headless_recording.h"
#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "platform/text_files.h"

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
  if (!opening.box) return fail(opening.reason);
  std::unique_ptr<InterfaceBox> opened = std::move(opening.box);
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
  job.request.kind = kind;
  job.request.points = static_cast<std::int32_t>(count);
  job.request.path = out;
  job.system_clock = true;
  HeadlessResult r;
  int stop_status = 130;
  {
    SignalRunControl run;
    run.show_progress("points", quiet);
    job.run = &run;
    r = record_headless(std::move(box), job);
    if (run.signal() != 0) stop_status = run.exit_status();
  }

  // The raw file is kept exactly when the recording is: a failed or halted recording
  // leaves an earlier raw file as it was.
  int status = 0;
  if (recorder && r.outcome.kept && !recorder->finish()) {
    std::cerr << "kestavor-cli: " << recorder->error() << "\n";
    status = 1;
  } else if (recorder && !r.outcome.kept) {
    recorder->discard();
  }
  for (const auto& m : r.messages) std::cerr << "kestavor-cli: " << m << "\n";
  if (!r.outcome.ran || !r.messages.empty()) return 1;
  switch (r.outcome.end) {
    case RunEnd::CountReached:
      break;
    case RunEnd::Halted:
      std::cerr << "kestavor-cli: interrupted: the recording was stopped; nothing of it was "
                   "kept\n";
      return stop_status;
    case RunEnd::EndOfData:
      if (!r.outcome.kept) {
        std::cerr << "kestavor-cli: " << r.outcome.reason << "\n";
        return 1;
      }
      // A recording cut short keeps its lines but is not done.
      std::cerr << "kestavor-cli: " << r.status << " " << out << " holds " << r.outcome.lines
                << " of " << count + 1 << " lines.\n";
      return 1;
    default:
      std::cerr << "kestavor-cli: " << r.status << "\n";
      return 1;
  }
  return status;
}

Register reg{{"record",
              "--box demo|usb[:VID:PID]|replay:FILE (--orbit N | --poincare N) -o FILE "
              "[--raw RAWFILE] [--quiet]",
              "record an orbit or Poincare file from a live interface box without a window",
              run_record}};

}  // namespace
}  // namespace kv::cli
