#include "fft/get_fft_data.h"

#include <algorithm>
#include <memory>

#include "app/state/form1.h"
#include "chaos/lyapunov.h"
#include "datafiles/orbit_reader.h"
#include "datafiles/save_file.h"
#include "fft/segment_average.h"
#include "fft/spectrum_file.h"
#include "fft/spectrum_plot.h"
#include "fft/windows.h"
#include "platform/input_file.h"
#include "platform/list_input.h"
#include "platform/text_files.h"

namespace kv {

namespace {

constexpr const char* kTitle = "Fast Fourier transform";
// A count beyond any file: the average stops at the end of the file long before.
constexpr double kMaxSegments = 1e9;

// HALT was enabled for the estimate; a command that ends before it gives the button back.
void restore_halt(Form1& f) {
  f.ui.set_enabled(Ctl::Text18, false);
  f.ui.set_back(Ctl::Text18, kGrey);
}

SpectrumOutcome stop(Form1& f, SpectrumOutcome outcome, const std::string& message = {}) {
  restore_halt(f);
  if (!message.empty()) f.sys.dialogs.message(message, kTitle, MsgIcon::Warning);
  return outcome;
}

std::string bad_file_message(const std::string& path, const std::string& error) {
  return "The file " + path + " cannot be read as an orbit file: " + error + ". Nothing was drawn.";
}

}  // namespace

SpectrumOutcome get_fft_data(Form1& f, RunControl& run) {
  const int list_index = f.ui[Ctl::List1].value;
  if (list_index >= 0 && list_index <= 3) f.window = std::string(kWindowNames[list_index]);
  f.ui.set_enabled(Ctl::Text18, true);
  f.FFT_flag = kTrue;
  f.ui.set_visible(Ctl::Image1, false);

  f.poincare_cnt = 0;
  f.fft_points = kSpectrumPoints;
  std::fill(f.spectrum.begin() + 1, f.spectrum.begin() + kSpectrumLines + 1, 0.0f);

  const std::string path = f.sys.dialogs.open_file("*.pha|*.pha", f.program_dir, "");
  if (path.empty()) return stop(f, SpectrumOutcome::cancelled);
  f.save_file_name = path;

  // The file is read as far as the segments asked for reach (mapped, or in chunks), and
  // closed whichever way the command ends.
  InputFile file;
  std::string error;
  if (!file.open(path, error)) return stop(f, SpectrumOutcome::unreadable, error);
  OrbitReader in(file);
  double count = 0;
  switch (in.read_number(count)) {
    case OrbitReader::Status::ok:
      if (count >= -2147483648.0 && count <= 2147483647.0) break;
      return stop(f, SpectrumOutcome::unreadable,
                  bad_file_message(path, "line 1: the point count is out of range"));
    case OrbitReader::Status::end:
      return stop(f, SpectrumOutcome::unreadable, bad_file_message(path, "the file is empty"));
    case OrbitReader::Status::bad:
      return stop(f, SpectrumOutcome::unreadable, bad_file_message(path, in.error()));
  }
  f.number_of_points = clng(count);

  const std::int64_t offered = offered_maximum(f.number_of_points);
  const std::string answer = f.sys.dialogs.input_box("Maximum number that can be averaged", kTitle,
                                                     std::to_string(offered));
  if (answer.empty() || offered == 0) return stop(f, SpectrumOutcome::cancelled);
  // An answer that rounds below 1 ends the command like 0.
  const double asked = round_half_even(leading_number(answer));
  if (!(asked >= 1)) return stop(f, SpectrumOutcome::cancelled);
  const std::int64_t segments = static_cast<std::int64_t>(std::min(asked, kMaxSegments));

  std::string header_word;
  OrbitReader::Status st = in.read_word(header_word);
  std::unique_ptr<FftArrays> work;
  // The Lyapunov estimate after the plot uses the first 12000 records: they are kept as
  // the average reads them, so the file is read once.
  std::vector<float> velocities;
  if (st == OrbitReader::Status::ok) {
    collect_lyapunov_velocities(in, velocities);
    work = std::make_unique<FftArrays>();
    st = average_segments(in, segments, list_index, *work, f.spectrum.data());
  }
  terminate_file(f);
  if (st == OrbitReader::Status::bad)
    return stop(f, SpectrumOutcome::unreadable, bad_file_message(path, in.error()));
  if (st == OrbitReader::Status::end) {
    const long long whole = in.records() / kRecordsPerSegment;
    return stop(f, SpectrumOutcome::too_short,
                "The file " + path + " holds " + std::to_string(whole) + " whole segment" +
                    (whole == 1 ? "" : "s") + " of " + std::to_string(kRecordsPerSegment) +
                    " records, fewer than the " + std::to_string(segments) +
                    " asked for. Nothing was averaged.");
  }

  plot_fft(f);
  lyapunov_of_reader(f, in, velocities, OrbitReader::Status::ok, path, run);
  file.close();
  f.ui.set_back(Ctl::Text15, kGrey);
  f.sys.pump.repaint();

  if (!f.sys.dialogs.ask_yes_no("Save the spectrum?", "FFT", MsgIcon::Question))
    return SpectrumOutcome::drawn;
  const std::string out_path = f.sys.dialogs.save_file("(*.fft)|*.fft", "*.fft", f.program_dir, "");
  f.save_file_name = out_path;
  if (out_path.empty()) return SpectrumOutcome::drawn;
  return save_spectrum_file(f, out_path) ? SpectrumOutcome::saved : SpectrumOutcome::save_failed;
}

bool save_spectrum_file(Form1& f, const std::string& path) {
  if (const int j = first_non_finite_line(f.fft_points, f.spectrum)) {
    f.sys.dialogs.message("The spectrum cannot be saved: the power of line " + std::to_string(j) +
                              " is not a finite number (the velocities are too large). " + path +
                              " was not written.",
                          "FFT", MsgIcon::Critical);
    return false;
  }
  const int slot = f.files.free_file();
  OutputFile& out = f.files.open_output(slot);
  f.save_file_number = static_cast<i16>(slot);
  std::string error;
  bool ok = out.open(path) && write_spectrum_lines(out, f.fft_points, f.window, f.spectrum);
  if (!ok) {
    error = out.error();
    f.files.close(slot, false);  // an older file of that name is kept
  } else {
    ok = f.files.close(slot, true, &error);
  }
  f.save_file_number = 0;
  if (!ok) f.sys.dialogs.message(error, "FFT", MsgIcon::Critical);
  return ok;
}

}  // namespace kv
