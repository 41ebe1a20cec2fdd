#include "fft/get_fft_data.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "chaos/chaos_state.h"
#include "chaos/lyapunov.h"
#include "datafiles/orbit_reader.h"
#include "datafiles/save_state.h"
#include "fft/segment_average.h"
#include "fft/spectrum_file.h"
#include "fft/spectrum_plot.h"
#include "fft/spectrum_state.h"
#include "fft/windows.h"
#include "platform/input_file.h"
#include "platform/run_control.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"

namespace kv {

namespace {

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

std::string bad_file_message(const std::string& path, const std::string& error) {
  return "The file " + path + " cannot be read as an orbit file: " + error + ". Nothing was drawn.";
}

SpectrumSource unreadable(const std::string& message) {
  SpectrumSource source;
  source.reason = message;
  return source;
}

}  // namespace

void begin_spectrum(SpectrumContext c, int window) {
  if (window >= 0 && window <= 3) c.spectrum.window = std::string(kWindowNames[window]);
  c.spectrum.FFT_flag = kTrue;
  c.plots.view->show(PlotPart::phase_velocity_title, false);

  c.plots.poincare_cnt = 0;
  c.spectrum.fft_points = kSpectrumPoints;
  std::fill(c.spectrum.spectrum.begin() + 1, c.spectrum.spectrum.begin() + kSpectrumLines + 1,
            0.0f);
}

SpectrumSource open_spectrum_source(SpectrumContext c, const std::string& path) {
  c.save.save_file_name = path;
  // The file is read as far as the segments asked for reach (mapped, or in chunks), and
  // closed whichever way the command ends.
  SpectrumSource source;
  source.file = std::make_unique<InputFile>();
  std::string error;
  if (!source.file->open(path, error)) return unreadable(error);
  source.in = std::make_unique<OrbitReader>(*source.file);
  OrbitReader& in = *source.in;
  double count = 0;
  switch (in.read_number(count)) {
    case OrbitReader::Status::ok:
      if (count >= -2147483648.0 && count <= 2147483647.0) break;
      return unreadable(bad_file_message(path, "line 1: the point count is out of range"));
    case OrbitReader::Status::end:
      return unreadable(bad_file_message(path, "the file is empty"));
    case OrbitReader::Status::bad:
      return unreadable(bad_file_message(path, in.error()));
  }
  c.plots.number_of_points = clng(count);
  source.status = Status::done;
  source.path = path;
  source.number_of_points = c.plots.number_of_points;
  source.offered = offered_maximum(c.plots.number_of_points);
  return source;
}

SpectrumResult average_spectrum(SpectrumContext c, SpectrumSource& source,
                                const SpectrumRequest& request, RunControl& run) {
  const std::string& path = source.path;
  const std::int64_t segments = request.segments;
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
    st = average_segments(in, segments, request.window, *work, c.spectrum.spectrum.data(), &run);
  }
  SpectrumResult result;
  if (st == OrbitReader::Status::bad) {
    result.reason = bad_file_message(path, in.error());
    return result;
  }
  if (st == OrbitReader::Status::end) {
    const long long whole = in.records() / kRecordsPerSegment;
    result.status = Status::refused;
    result.reason = "The file " + path + " holds " + std::to_string(whole) + " whole segment" +
                    (whole == 1 ? "" : "s") + " of " + std::to_string(kRecordsPerSegment) +
                    " records, fewer than the " + std::to_string(segments) +
                    " asked for. Nothing was averaged.";
    return result;
  }

  plot_fft(c.plots, c.spectrum);
  HaltOnly estimate_run(run);
  result.lyapunov = lyapunov_of_reader(c.chaos, in, velocities, OrbitReader::Status::ok,
                                       LyapunovRequest{path, request.lyapunov}, estimate_run);
  source.file->close();
  result.status = Status::done;
  result.drawn = true;
  result.segments = segments;
  return result;
}

std::string too_short_for_a_segment(const std::string& path, std::int32_t header_count) {
  return path + " is too short for one segment of the spectrum: a segment needs " +
         std::to_string(kRecordsPerSegment) + " records, and its header counts " +
         std::to_string(header_count) + ".";
}

SpectrumResult run_spectrum(SpectrumContext c, const SpectrumRequest& request, RunControl& run) {
  begin_spectrum(c, request.window);
  SpectrumSource source = open_spectrum_source(c, request.orbit_path);
  if (!source.done()) {
    SpectrumResult failed;
    failed.reason = source.reason;
    return failed;
  }
  // Segments asked for are averaged when the records are there, whatever the header's count
  // offers; without a number the offer is taken, and an offer of 0 ends the command.
  SpectrumRequest asked = request;
  if (asked.segments <= 0) asked.segments = source.offered;
  if (asked.segments < 1) {
    SpectrumResult refused;
    refused.status = Status::refused;
    refused.reason = too_short_for_a_segment(source.path, source.number_of_points);
    return refused;
  }
  SpectrumResult result = average_spectrum(c, source, asked, run);
  if (!result.drawn || request.output.empty()) return result;
  c.save.save_file_name = request.output;
  result.saved = save_spectrum_file(c, request.output, result.reason);
  if (!result.saved) result.status = Status::failed;
  return result;
}

bool save_spectrum_file(SpectrumContext c, const std::string& path, std::string& error) {
  const SpectrumState& s = c.spectrum;
  if (const int j = first_non_finite_line(s.fft_points, s.spectrum)) {
    error = "The spectrum cannot be saved: the power of line " + std::to_string(j) +
            " is not a finite number (the velocities are too large). " + path + " was not written.";
    return false;
  }
  const int slot = c.files.free_file();
  OutputFile& out = c.files.open_output(slot);
  c.save.save_file_number = static_cast<i16>(slot);
  bool ok = out.open(path) && write_spectrum_lines(out, s.fft_points, s.window, s.spectrum);
  if (!ok) {
    error = out.error();
    c.files.close(slot, false);  // an older file of that name is kept
  } else {
    ok = c.files.close(slot, true, &error);
  }
  c.save.save_file_number = 0;
  return ok;
}

}  // namespace kv
