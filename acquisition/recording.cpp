#include "acquisition/recording.h"

#include <utility>

#include "acquisition/acquisition_state.h"
#include "datafiles/point_count.h"
#include "datafiles/save_file.h"
#include "datafiles/save_state.h"
#include "platform/text_files.h"
#include "plot/phase_plot.h"
#include "plot/plot_state.h"
#include "plot/poincare_plot.h"

namespace kv {

namespace {

// Closes the recording after its run: a run stopped by HALT leaves no file (an older file
// of that name survives); every other ending keeps what was written.
void finish_recording(const AcquisitionContext& c, RecordingOutcome& out) {
  if (OutputFile* file = c.files.output(c.save.save_file_number)) out.lines = file->lines() - 2;
  // A run that ended early before its first data line has recorded nothing: like a run
  // stopped by HALT it replaces no file.
  const bool ended_early =
      out.end == RunEnd::BoxGone || out.end == RunEnd::BoxSilent || out.end == RunEnd::EndOfData;
  if (out.end == RunEnd::Halted || (ended_early && out.lines <= 0)) {
    discard_save_file(c.save, c.files);
  } else {
    terminate_file(c.save, c.files, &out.file_error);
    out.kept = true;
  }
  if (out.end == RunEnd::Halted) {
    out.summary = "Recording stopped by HALT: " + out.path + " was not kept.";
  } else if (ended_early && !out.kept) {
    out.summary = std::string("Recording failed: ") + describe_run_end(out.end) +
                  " before the first data line, so " + out.path + " was not written.";
  } else if (ended_early) {
    out.summary = std::string("Recording incomplete: ") + describe_run_end(out.end) + ". The " +
                  std::to_string(out.lines) + " data lines written are kept in " + out.path + ".";
  }

  if (out.end == RunEnd::Halted) {
    out.status = Status::halted;
  } else if (!out.file_error.empty() || out.end == RunEnd::WriteError) {
    out.status = Status::failed;
  } else if (out.end == RunEnd::CountReached || (out.end == RunEnd::EndOfData && out.kept)) {
    out.status = Status::done;
  } else {
    out.status = Status::failed;
  }
  if (out.status == Status::failed && !out.file_error.empty())
    out.reason = out.file_error;
  else if (out.status == Status::failed && !out.summary.empty())
    out.reason = out.summary;
  else if (out.status == Status::failed)
    out.reason = out.path + ": " + describe_run_end(out.end);
  else if (out.status == Status::halted)
    out.reason = out.summary;
}

}  // namespace

RecordingOutcome record(const AcquisitionContext& c, const RecordingRequest& request,
                        RunControl& run) {
  RecordingOutcome out;
  const RecordingHooks& hooks = request.hooks;
  const bool orbit = request.kind == RecordingKind::Orbit;
  const std::int32_t n = request.points;
  PlotState& plot = c.plot;
  SaveState& save = c.save;
  plot.number_of_points = n;
  if (orbit && n > kMaxSavedPoints) {
    out.status = Status::refused;
    out.reason = "An orbit file holds at most " + std::to_string(kMaxSavedPoints) + " points.";
    return out;
  }

  save.saving_orbit = orbit ? kTrue : kFalse;
  if (orbit) c.acq.poincare_event = kFalse;
  const std::string& path = request.path;
  save.save_file_name = path;
  out.path = path;
  if (path.empty()) {
    out.status = Status::refused;
    return out;
  }
  if (!open_save_file(save, c.files, path, n, orbit ? "PHASE" : "POINCARE", &out.file_error)) {
    out.reason = out.file_error;
    return out;
  }
  save.saving = kTrue;
  if (hooks.opened) hooks.opened();
  if (!orbit) {
    plot.view->show(PlotPart::poincare_plot, true);
    grid(plot);
  }
  setup_phase_plot(plot);
  out.ran = true;
  if (hooks.running) hooks.running();
  out.end = get_data(c, run);
  if (hooks.ended) hooks.ended(out.end);
  finish_recording(c, out);
  save.save_file_number = 0;
  save.saving = kFalse;
  return out;
}

RecordingOutcome record_from_box(std::unique_ptr<InterfaceBox> box, const RecordingRequest& request,
                                 Clock& clock, RunControl& run) {
  AcquisitionState acq;
  acq.device_handle = box ? box->handle() : -1;
  acq.device = std::move(box);
  // The plots hold the large point tables; keep them off the stack.
  auto plot = std::make_unique<PlotState>();
  SaveState save;
  FileTable files;
  RecordingOutcome out = record({acq, *plot, save, files, clock}, request, run);
  if (acq.device) acq.device->close();
  return out;
}

}  // namespace kv
