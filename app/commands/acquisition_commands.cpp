// The data acquisition commands: "Plot data" (a live run until HALT), "Save orbit" and
// "Save poincare" (a live run that records into a file).
#include <cmath>
#include <string>

#include "app/commands/collect_data.h"
#include "app/commands/commands.h"
#include "app/commands/recording.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "datafiles/point_count.h"
#include "datafiles/save_file.h"
#include "platform/list_input.h"
#include "plot/phase_plot.h"
#include "plot/poincare_plot.h"

namespace kv {

namespace {

// A command the user ended at a question: nothing was recorded.
RecordingOutcome cancelled() {
  RecordingOutcome out;
  out.status = Status::refused;
  return out;
}

// The questions of "Save orbit" and "Save poincare": the point count, then the path. A
// cancelled or refused count ends the command; the request is made with an empty path when
// the save dialog is cancelled.
RecordingOutcome ask_and_record(Form1& f, RecordingKind kind) {
  prepare_recording(f, kind);
  std::int32_t n = 0;
  const std::string reply =
      f.sys.dialogs.input_box("Enter number of data points", "number of points", "1000");
  switch (parse_point_count(reply, n)) {
    case PointCountReply::Cancel:
      close_data_file(f);
      return cancelled();
    case PointCountReply::TooLarge:
      return cancelled();
    case PointCountReply::Ok:
      break;
  }
  f.number_of_points = n;
  if (kind == RecordingKind::Orbit && n > kMaxSavedPoints) return cancelled();
  f.ui.set_back(kind == RecordingKind::Orbit ? Ctl::Text13 : Ctl::Text14, kWhite);
  RecordingRequest request;
  request.kind = kind;
  request.points = n;
  request.path = kind == RecordingKind::Orbit
                     ? f.sys.dialogs.save_file("(*.pha)|*.pha", "*.pha", f.program_dir, "")
                     : f.sys.dialogs.save_file("(*.poi)|*.poi", "*.poi", f.program_dir, "");
  WindowRunControl run(f, [&request](std::int64_t done, std::int64_t total) {
    return recording_progress_text(request.path, done, total);
  });
  return record_in_window(f, request, run);
}

// The recording takes Clear away while it asks its questions; however the command ends
// (a cancelled dialog, a refused count, the run's end) the user can clear the plot again.
RecordingOutcome recording_command(Form1& f, RecordingKind kind) {
  RecordingOutcome out = ask_and_record(f, kind);
  f.ui.set_enabled(Ctl::Text7, true);
  return out;
}

}  // namespace

void prepare_recording(Form1& f, RecordingKind kind) {
  clear_help(f);
  clear_screen(f);
  if (kind == RecordingKind::Orbit) {
    f.cnt = 0;
    f.poincare_cnt = 0;
    f.ui.set_visible(Ctl::Picture3, true);
    f.ui.set_enabled(Ctl::Text7, false);
    f.ui.set_visible(Ctl::Label2, false);
  } else {
    f.ui.set_enabled(Ctl::Text7, false);
    f.ui.set_visible(Ctl::Picture5, false);
    f.ui.set_visible(Ctl::Picture3, true);
  }
}

RecordingOutcome record_in_window(Form1& f, RecordingRequest request, RunControl& run) {
  const bool orbit = request.kind == RecordingKind::Orbit;
  const Ctl button = orbit ? Ctl::Text13 : Ctl::Text14;
  // A count beyond the limit ends the command before the button turns white.
  if (orbit && request.points > kMaxSavedPoints)
    return record(acquisition_context(f), request, run);
  f.ui.set_back(button, kWhite);
  // The screen shows phase and Poincare plots from now on, not a spectrum.
  request.hooks.opened = [&f] { f.FFT_flag = kFalse; };
  request.hooks.running = [&f] { begin_acquisition_run(f); };
  request.hooks.ended = [&f](RunEnd end) { end_acquisition_run(f, end); };
  RecordingOutcome out = record(acquisition_context(f), request, run);
  if (!out.file_error.empty()) show_file_error(f, out.file_error);
  f.ui.set_back(button, kGrey);
  // The end in the status text: the lines saved, or how the run ended and what was kept.
  const bool whole = out.status == Status::done && out.summary.empty();
  std::string end = out.summary;
  if (whole)
    end = "Saved " + file_name(request.path) + ": " + counted(out.lines, "line");
  else if (end.empty())
    end = out.file_error.empty() ? out.reason : out.file_error;
  show_end_status(f, whole, end);
  return out;
}

RecordingOutcome save_orbit(Form1& f) {
  return recording_command(f, RecordingKind::Orbit);
}
RecordingOutcome save_poincare(Form1& f) {
  return recording_command(f, RecordingKind::Poincare);
}

void Text13_Click(Form1& f) {
  save_orbit(f);
}
void Text14_Click(Form1& f) {
  save_poincare(f);
}

void Text10_Click(Form1& f) {
  clear_help(f);
  clear_screen(f);
  f.ui.set_enabled(Ctl::Text7, true);
  f.ui.set_visible(Ctl::Frame21, false);
  f.ui.set_visible(Ctl::Text3, false);
  f.FFT_flag = kFalse;
  f.ui.set_back(Ctl::Text10, kWhite);
  f.sys.pump.repaint();
  f.ui.set_visible(Ctl::Picture2, true);
  grid(f);
  f.ui.set_visible(Ctl::Image1, true);
  f.Picture2.DrawMode = kDrawBlackness;
  setup_phase_plot(f);
  f.ui.set_visible(Ctl::Label3, true);
  f.ui.set_text(Ctl::Label3, "Phase Plot");
  f.ui.set_visible(Ctl::Image1, true);
  f.ui.set_visible(Ctl::Image3, false);
  f.ui.set_visible(Ctl::Picture1, true);
  f.ui.set_visible(Ctl::Frame5, true);
  f.ui.set_visible(Ctl::Frame8, f.cycle_number == 0);
  f.ui.set_visible(Ctl::Picture2, true);
  f.ui.set_visible(Ctl::Picture5, false);
  f.ui.set_visible(Ctl::Picture3, true);
  WindowRunControl run(f);
  COLLECT_DATA(f, run);
}

}  // namespace kv
