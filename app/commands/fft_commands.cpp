// "FFT" and the window list: the button shows the list; choosing a window runs the
// spectrum command and puts the list away again. The command asks the orbit file, the
// number of segments (offering what the file holds) and whether and where to save through
// the dialogs, between the engine's stages, filling the request as it goes. Around the
// engine: HALT enabled for the estimate and given back however the command ends, the
// Lyapunov texts, the messages of what went wrong.
#include <algorithm>
#include <string>

#include "app/commands/commands.h"
#include "app/commands/lyapunov_display.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "datafiles/save_file.h"
#include "fft/get_fft_data.h"
#include "fft/segment_average.h"
#include "platform/list_input.h"

namespace kv {

namespace {

constexpr const char* kTitle = "Fast Fourier transform";
// The largest count an answer is taken as (it fits a 64-bit integer); the average stops at
// the end of any file long before.
constexpr double kMaxSegments = 9e18;

SpectrumContext spectrum_context(Form1& f) {
  return SpectrumContext{f, f, f, f, f.files};
}

// HALT was enabled for the estimate; a command that ends before it gives the button back
// and tells why, when there is a reason, in a message and in the status text (which no
// progress text of the command outlives).
void ended_early(Form1& f, const std::string& reason = {}) {
  f.ui.set_enabled(Ctl::Text18, false);
  f.ui.set_back(Ctl::Text18, kGrey);
  show_end_status(f, false, reason);
  if (!reason.empty()) f.sys.dialogs.message(reason, kTitle, MsgIcon::Warning);
}

// After the plot and the estimate: the estimate's texts and HALT, the FFT button grey.
void show_drawn(Form1& f, const SpectrumResult& result) {
  show_lyapunov_outcome(f, result.lyapunov);
  f.ui.set_back(Ctl::Text15, kGrey);
  f.sys.pump.repaint();
}

void spectrum_by_dialogs(Form1& f) {
  const SpectrumContext c = spectrum_context(f);
  SpectrumRequest request;
  request.window = f.ui[Ctl::List1].value;
  request.lyapunov = lyapunov_watch(f);
  f.ui.set_enabled(Ctl::Text18, true);
  begin_spectrum(c, request.window);
  request.orbit_path = f.sys.dialogs.open_file("*.pha|*.pha", f.program_dir, "");
  if (request.orbit_path.empty()) return ended_early(f);
  SpectrumSource source = open_spectrum_source(c, request.orbit_path);
  if (!source.done()) return ended_early(f, source.reason);
  // A file without a whole segment is refused before the question.
  if (source.offered == 0)
    return ended_early(f, too_short_for_a_segment(request.orbit_path, f.number_of_points));

  const std::string answer = f.sys.dialogs.input_box("Maximum number that can be averaged", kTitle,
                                                     std::to_string(source.offered));
  // An empty answer or one that rounds below 1 ends the command; more than the file offers
  // is refused at the question.
  const double asked = answer.empty() ? 0 : round_half_even(leading_number(answer));
  if (answer.empty() || !(asked >= 1)) return ended_early(f);
  if (asked > static_cast<double>(source.offered))
    return ended_early(
        f, "The file " + request.orbit_path + " offers " + std::to_string(source.offered) +
               " whole segment" + (source.offered == 1 ? "" : "s") + " of " +
               std::to_string(kRecordsPerSegment) + " records, fewer than the " +
               std::to_string(static_cast<std::int64_t>(std::min(asked, kMaxSegments))) +
               " asked for. Nothing was averaged.");
  request.segments = static_cast<std::int64_t>(std::min(asked, kMaxSegments));
  WindowRunControl run(f, segment_progress_text);
  const SpectrumResult drawn = average_spectrum(c, source, request, run);
  close_data_file(f);  // a data file left open by an earlier command
  if (!drawn.drawn) return ended_early(f, drawn.reason);
  show_drawn(f, drawn);
  show_end_status(f, true,
                  "Spectrum of " + file_name(request.orbit_path) + ": " +
                      counted(drawn.segments, "segment") + " averaged");

  if (!f.sys.dialogs.ask_yes_no("Save the spectrum?", "FFT", MsgIcon::Question)) return;
  request.output = f.sys.dialogs.save_file("(*.fft)|*.fft", "*.fft", f.program_dir, "");
  f.save_file_name = request.output;
  if (!request.output.empty() && save_spectrum(f, request.output))
    show_end_status(f, true, "Saved spectrum " + file_name(request.output));
}

}  // namespace

bool save_spectrum(Form1& f, const std::string& path) {
  std::string error;
  if (save_spectrum_file(spectrum_context(f), path, error)) return true;
  show_end_status(f, false, error);
  f.sys.dialogs.message(error, "FFT", MsgIcon::Critical);
  return false;
}

SpectrumResult spectrum_command(Form1& f, SpectrumRequest request, RunControl& run) {
  f.ui.set_enabled(Ctl::Text18, true);
  request.lyapunov = lyapunov_watch(f);
  SpectrumResult result = run_spectrum(spectrum_context(f), request, run);
  close_data_file(f);  // a data file left open by an earlier command
  if (!result.drawn) {
    ended_early(f, result.reason);
  } else {
    show_drawn(f, result);
    if (!result.done()) f.sys.dialogs.message(result.reason, "FFT", MsgIcon::Critical);
  }
  return result;
}

void Text15_Click(Form1& f) {
  clear_help(f);
  clear_screen(f);
  f.cnt = 0;
  f.poincare_cnt = 0;
  f.ui.set_visible(Ctl::Text3, false);
  f.ui.set_visible(Ctl::List1, true);
  f.ui.set_visible(Ctl::Label6, true);
  f.ui.set_visible(Ctl::Label2, false);
  f.ui.set_back(Ctl::Text15, kWhite);
}

void List1_Click(Form1& f) {
  spectrum_by_dialogs(f);
  f.ui.set_back(Ctl::Text15, kGrey);
  f.ui.set_visible(Ctl::List1, false);
  f.ui.set_visible(Ctl::Label6, false);
}

}  // namespace kv
