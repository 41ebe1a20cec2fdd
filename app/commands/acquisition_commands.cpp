// The data acquisition commands: "Plot data" (a live run until HALT), "Save orbit" and
// "Save poincare" (a live run that records into a file).
#include <cmath>
#include <string>

#include "app/commands/collect_data.h"
#include "app/commands/commands.h"
#include "app/commands/recording.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "datafiles/save_file.h"
#include "platform/list_input.h"
#include "plot/phase_plot.h"
#include "plot/poincare_plot.h"

namespace kv {

namespace {

// Closes the recording after its run: a run stopped by HALT leaves no file (an older file
// of that name survives); every other ending keeps what was written.
void finish_recording(Form1& f, RecordingOutcome& out) {
  if (OutputFile* file = f.files.output(f.save_file_number)) out.lines = file->lines() - 2;
  // A run that ended early before its first data line has recorded nothing: like a run
  // stopped by HALT it replaces no file.
  const bool ended_early =
      out.end == RunEnd::BoxGone || out.end == RunEnd::BoxSilent || out.end == RunEnd::EndOfData;
  if (out.end == RunEnd::Halted || (ended_early && out.lines <= 0)) {
    discard_save_file(f);
  } else {
    terminate_file(f, &out.reason);
    out.kept = true;
  }
  if (out.end == RunEnd::Halted) {
    f.show_status("Recording stopped by HALT: " + out.path + " was not kept.", kRed);
  } else if (ended_early && !out.kept) {
    out.reason = std::string("Recording failed: ") + describe_run_end(out.end) +
                 " before the first data line, so " + out.path + " was not written.";
    f.show_status(out.reason, kRed);
  } else if (ended_early) {
    f.show_status(std::string("Recording incomplete: ") + describe_run_end(out.end) + ". The " +
                      std::to_string(out.lines) + " data lines written are kept in " + out.path +
                      ".",
                  kRed);
  }
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
      terminate_file(f);
      return {};
    case PointCountReply::TooLarge:
      return {};
    case PointCountReply::Ok:
      break;
  }
  f.number_of_points = n;
  if (kind == RecordingKind::Orbit && n > kMaxSavedPoints) return {};
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
  return record(f, request, run);
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

RecordingOutcome record(Form1& f, const RecordingRequest& request, RunControl& run) {
  RecordingOutcome out;
  const bool orbit = request.kind == RecordingKind::Orbit;
  const Ctl button = orbit ? Ctl::Text13 : Ctl::Text14;
  const std::int32_t n = request.points;
  f.number_of_points = n;
  if (orbit && n > kMaxSavedPoints) return out;

  f.ui.set_back(button, kWhite);
  f.saving_orbit = orbit ? kTrue : kFalse;
  if (orbit) f.poincare_event = kFalse;
  const std::string& path = request.path;
  f.save_file_name = path;
  out.path = path;
  f.real_time_file = true;
  if (!path.empty() && open_save_file(f, path, n, orbit ? "PHASE" : "POINCARE", &out.reason)) {
    f.saving = kTrue;
    // The screen shows phase and Poincare plots from now on, not a spectrum.
    f.FFT_flag = kFalse;
    if (!orbit) {
      f.ui.set_visible(Ctl::Picture2, true);
      grid(f);
    }
    setup_phase_plot(f);
    out.ran = true;
    out.end = COLLECT_DATA(f, run);
    finish_recording(f, out);
    f.save_file_number = 0;
    f.saving = kFalse;
  }
  f.ui.set_back(button, kGrey);
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
