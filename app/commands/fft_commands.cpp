// "FFT" and the window list: the button shows the list; choosing a window runs the
// spectrum command and puts the list away again. The command asks the orbit file, the
// number of segments (offering what the file holds) and whether and where to save through
// the dialogs, between the engine's stages.
#include <algorithm>
#include <string>

#include "app/commands/commands.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "fft/get_fft_data.h"
#include "fft/segment_average.h"
#include "platform/list_input.h"

namespace kv {

namespace {

constexpr const char* kTitle = "Fast Fourier transform";
// The largest count an answer is taken as (it fits a 64-bit integer); the average stops at
// the end of any file long before.
constexpr double kMaxSegments = 9e18;

SpectrumOutcome spectrum_command(Form1& f) {
  const int window = f.ui[Ctl::List1].value;
  begin_spectrum(f, window);
  const std::string path = f.sys.dialogs.open_file("*.pha|*.pha", f.program_dir, "");
  if (path.empty()) {
    end_spectrum_early(f);
    return SpectrumOutcome::cancelled;
  }
  SpectrumSource source = open_spectrum_source(f, path);
  if (source.status != CommandStatus::done) return SpectrumOutcome::unreadable;

  const std::string answer = f.sys.dialogs.input_box("Maximum number that can be averaged", kTitle,
                                                     std::to_string(source.offered));
  // An empty answer, a file without a whole segment, or an answer that rounds below 1 ends
  // the command.
  const double asked = answer.empty() ? 0 : round_half_even(leading_number(answer));
  if (answer.empty() || source.offered == 0 || !(asked >= 1)) {
    end_spectrum_early(f);
    // The offer of 0 says the file is too short; the status text says by how much.
    if (source.offered == 0)
      f.show_status(path + " is too short for one segment of the spectrum: a segment needs " +
                        std::to_string(kRecordsPerSegment) + " records, and its header counts " +
                        std::to_string(f.number_of_points) + ".",
                    kRed);
    return SpectrumOutcome::cancelled;
  }
  const std::int64_t segments = static_cast<std::int64_t>(std::min(asked, kMaxSegments));
  WindowRunControl run(f, segment_progress_text);
  const SpectrumResult drawn = average_spectrum(f, source, window, segments, run);
  if (drawn.outcome != SpectrumOutcome::drawn) return drawn.outcome;

  if (!f.sys.dialogs.ask_yes_no("Save the spectrum?", "FFT", MsgIcon::Question))
    return SpectrumOutcome::drawn;
  const std::string out_path = f.sys.dialogs.save_file("(*.fft)|*.fft", "*.fft", f.program_dir, "");
  f.save_file_name = out_path;
  if (out_path.empty()) return SpectrumOutcome::drawn;
  return save_spectrum_file(f, out_path) ? SpectrumOutcome::saved : SpectrumOutcome::save_failed;
}

}  // namespace

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
  spectrum_command(f);
  f.ui.set_back(Ctl::Text15, kGrey);
  f.ui.set_visible(Ctl::List1, false);
  f.ui.set_visible(Ctl::Label6, false);
}

}  // namespace kv
