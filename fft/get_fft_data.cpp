#include "fft/get_fft_data.h"

#include <algorithm>
#include <memory>
#include <vector>

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

// The estimate after the average is asked about HALT as the average is; its progress is
// not the command's (the command counts segments).
class HaltOnly : public RunControl {
 public:
  explicit HaltOnly(RunControl& run) : run_(run) {}
  bool halt_requested() override { return run_.halt_requested(); }
  bool clear_requested() override { return run_.clear_requested(); }

 private:
  RunControl& run_;
};

SpectrumResult stop(Form1& f, SpectrumOutcome outcome, const std::string& message = {}) {
  end_spectrum_early(f);
  if (!message.empty()) f.sys.dialogs.message(message, kTitle, MsgIcon::Warning);
  return SpectrumResult{outcome, message};
}

std::string bad_file_message(const std::string& path, const std::string& error) {
  return "The file " + path + " cannot be read as an orbit file: " + error + ". Nothing was drawn.";
}

SpectrumSource unreadable(Form1& f, const std::string& message) {
  SpectrumSource source;
  source.reason = stop(f, SpectrumOutcome::unreadable, message).reason;
  return source;
}

}  // namespace

void end_spectrum_early(Form1& f) {
  f.ui.set_enabled(Ctl::Text18, false);
  f.ui.set_back(Ctl::Text18, kGrey);
}

void begin_spectrum(Form1& f, int window) {
  if (window >= 0 && window <= 3) f.window = std::string(kWindowNames[window]);
  f.ui.set_enabled(Ctl::Text18, true);
  f.FFT_flag = kTrue;
  f.ui.set_visible(Ctl::Image1, false);

  f.poincare_cnt = 0;
  f.fft_points = kSpectrumPoints;
  std::fill(f.spectrum.begin() + 1, f.spectrum.begin() + kSpectrumLines + 1, 0.0f);
}

SpectrumSource open_spectrum_source(Form1& f, const std::string& path) {
  f.save_file_name = path;
  // The file is read as far as the segments asked for reach (mapped, or in chunks), and
  // closed whichever way the command ends.
  SpectrumSource source;
  source.file = std::make_unique<InputFile>();
  std::string error;
  if (!source.file->open(path, error)) return unreadable(f, error);
  source.in = std::make_unique<OrbitReader>(*source.file);
  OrbitReader& in = *source.in;
  double count = 0;
  switch (in.read_number(count)) {
    case OrbitReader::Status::ok:
      if (count >= -2147483648.0 && count <= 2147483647.0) break;
      return unreadable(f, bad_file_message(path, "line 1: the point count is out of range"));
    case OrbitReader::Status::end:
      return unreadable(f, bad_file_message(path, "the file is empty"));
    case OrbitReader::Status::bad:
      return unreadable(f, bad_file_message(path, in.error()));
  }
  f.number_of_points = clng(count);
  source.status = CommandStatus::done;
  source.path = path;
  source.number_of_points = f.number_of_points;
  source.offered = offered_maximum(f.number_of_points);
  return source;
}

SpectrumResult average_spectrum(Form1& f, SpectrumSource& source, int window, std::int64_t segments,
                                RunControl& run) {
  const std::string& path = source.path;
  OrbitReader& in = *source.in;  // placed after the point count
  std::string header_word;
  OrbitReader::Status st = in.read_word(header_word);
  std::unique_ptr<FftArrays> work;
  // The Lyapunov estimate after the plot uses the first 12000 records: they are kept as
  // the average reads them, so the file is read once.
  std::vector<float> velocities;
  if (st == OrbitReader::Status::ok) {
    collect_lyapunov_velocities(in, velocities);
    work = std::make_unique<FftArrays>();
    st = average_segments(in, segments, window, *work, f.spectrum.data(), &run);
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
  HaltOnly estimate_run(run);
  lyapunov_of_reader(f, in, velocities, OrbitReader::Status::ok, path, estimate_run);
  source.file->close();
  f.ui.set_back(Ctl::Text15, kGrey);
  f.sys.pump.repaint();
  return SpectrumResult{SpectrumOutcome::drawn, {}};
}

SpectrumResult run_spectrum(Form1& f, const SpectrumRequest& request, RunControl& run) {
  begin_spectrum(f, request.window);
  SpectrumSource source = open_spectrum_source(f, request.orbit_path);
  if (source.status != CommandStatus::done)
    return SpectrumResult{SpectrumOutcome::unreadable, source.reason};
  // Segments asked for are averaged when the records are there, whatever the header's count
  // offers; without a number the offer is taken, and an offer of 0 ends the command.
  const std::int64_t segments = request.segments > 0 ? request.segments : source.offered;
  if (segments < 1) return stop(f, SpectrumOutcome::cancelled);
  SpectrumResult result = average_spectrum(f, source, request.window, segments, run);
  if (result.outcome != SpectrumOutcome::drawn || request.output.empty()) return result;
  f.save_file_name = request.output;
  if (save_spectrum_file(f, request.output, &result.reason))
    result.outcome = SpectrumOutcome::saved;
  else
    result.outcome = SpectrumOutcome::save_failed;
  return result;
}

bool save_spectrum_file(Form1& f, const std::string& path, std::string* error_text) {
  if (const int j = first_non_finite_line(f.fft_points, f.spectrum)) {
    const std::string text =
        "The spectrum cannot be saved: the power of line " + std::to_string(j) +
        " is not a finite number (the velocities are too large). " + path + " was not written.";
    f.sys.dialogs.message(text, "FFT", MsgIcon::Critical);
    if (error_text) *error_text = text;
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
  if (!ok) {
    f.sys.dialogs.message(error, "FFT", MsgIcon::Critical);
    if (error_text) *error_text = error;
  }
  return ok;
}

}  // namespace kv
