#include "acquisition/get_data.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "acquisition/sample_record.h"
#include "app/state/form1.h"
#include "datafiles/data_lines.h"
#include "datafiles/save_file.h"
#include "platform/run_control.h"
#include "plot/phase_plot.h"
#include "plot/poincare_plot.h"

namespace kv {

namespace {

constexpr double kSecondsPerTimeWrap = 0.016384;  // 65536 counts of the 4 MHz clock
constexpr double kTimeCountsPerSecond = 4000000;
constexpr i32 kTimeWrap = 65536;
constexpr i32 kRowLimit = 999999;

// Fetches the record for the next pass. A new record ends any silence. A transient
// failure repeats the previous record (a few times in a row at most). While nothing new
// arrives HALT is still polled, and a box that stays silent for kSilenceLimitMs, or that
// is gone or out of data, stops the run.
class RecordSource {
 public:
  RecordSource(Form1& f, RunControl& run) : f_(f), run_(run) {}

  // True when record() holds the sample to decode; false with `end` set otherwise.
  bool next(RunEnd& end) {
    for (;;) {
      const BoxRead got = f_.device ? f_.device->read(record_, kReadTimeoutMs) : BoxRead::Gone;
      switch (got) {
        case BoxRead::Ok:
          have_record_ = true;
          repeats_ = 0;
          silent_since_ = -1;
          return true;
        case BoxRead::Failed:
          note_silence();
          if (have_record_ && repeats_ < kMaxRepeatedRecords) {
            ++repeats_;
            return true;
          }
          break;
        case BoxRead::Timeout:
          break;
        case BoxRead::Gone:
          end = RunEnd::BoxGone;
          return false;
        case BoxRead::EndOfData:
          end = RunEnd::EndOfData;
          return false;
      }
      if (note_silence() >= kSilenceLimitMs) {
        end = RunEnd::BoxSilent;
        return false;
      }
      if (run_.halt_requested()) {
        end = RunEnd::Halted;
        return false;
      }
    }
  }

  const SampleRecord& record() const { return record_; }

 private:
  // Milliseconds since the box last delivered a new record.
  std::int64_t note_silence() {
    const std::int64_t now = f_.sys.clock.tick_ms();
    if (silent_since_ < 0) silent_since_ = now;
    return now - silent_since_;
  }

  Form1& f_;
  RunControl& run_;
  SampleRecord record_{};
  bool have_record_ = false;
  int repeats_ = 0;
  std::int64_t silent_since_ = -1;
};

void report_end(Form1& f, RunEnd end) {
  const std::string box = f.device ? " (" + f.device->name() + ")" : std::string();
  switch (end) {
    case RunEnd::BoxGone:
      f.show_status(f.device ? "The interface box" + box + " has gone: the run was stopped."
                             : "No interface box is open: the run was stopped.",
                    kRed);
      break;
    case RunEnd::BoxSilent:
      f.show_status("The interface box" + box + " sent nothing for " +
                        std::to_string(kSilenceLimitMs / 1000) + " seconds: the run was stopped.",
                    kRed);
      break;
    case RunEnd::EndOfData:
      f.show_status("End of the replayed records" + box + ": the run was stopped.", kGreen);
      break;
    default:
      break;
  }
}

}  // namespace

const char* describe_run_end(RunEnd end) {
  switch (end) {
    case RunEnd::Halted:
      return "HALT was pressed";
    case RunEnd::CountReached:
      return "the number of points was reached";
    case RunEnd::BoxGone:
      return "the interface box has gone";
    case RunEnd::BoxSilent:
      return "the interface box stopped sending data";
    case RunEnd::EndOfData:
      return "the replayed records ran out";
    case RunEnd::WriteError:
      return "the data file could not be written";
  }
  return "";
}

RunEnd get_data(Form1& f, RunControl& run) {
  // Start of a run.
  f.fit_points = 7;
  f.poincare_event = kFalse;
  bool stop = false;
  i32 c = 0;  // passes, counted up to the end of the warm-up
  f.cnt = 0;
  f.poincare_cnt = 0;
  i64 w = 0;  // lines written (64 bits: a count of 2^31 - 1 must never overflow it)
  start_poincare_marker(f);
  const i32 n = f.fit_points;
  for (i32 i = 1; i <= n - 1; ++i) {
    f.angle_window[i] = 0;
    f.time_window[i] = 0;
  }
  i32 k = 0;        // time-counter wraps
  i16 refresh = 0;  // passes since Picture1 was last refreshed
  double v = 0;     // fitted velocity value, kept when no fit is possible
  i32 d[17] = {};   // the unwrapped angle window
  const i32 mid = cint(n / 2.0);
  bool halted = false, count_reached = false, write_error = false;
  RunEnd end = RunEnd::Halted;
  RecordSource source(f, run);
  double* aw = f.angle_window;
  double* tw = f.time_window;
  i32* rs = f.revolution_slots;
  char line[160];

  while (!stop) {
    // 2. Read one record. (It is fetched before the shift of step 1, which does not
    // depend on it, so that a run ending while it waits leaves the windows as they were.)
    if (!source.next(end)) break;
    // 1. Shift the windows; element 1 receives the new sample.
    for (i32 i = 1; i <= n - 1; ++i) {
      aw[n - i + 1] = aw[n - i];
      tw[n - i + 1] = tw[n - i];
    }
    const SampleRecord& rec = source.record();
    // 3. Rising edge of the drive marker.
    const u8 m = record_marker(rec);
    f.poincare_event = m > f.POIN_prev ? kTrue : kFalse;
    f.POIN_prev = m;
    // 4. Angle and time.
    aw[1] = record_angle(rec);
    tw[1] = record_time(rec);
    // 5. Revolution history.
    for (i32 i = 1; i <= n - 1; ++i) rs[n - i + 1] = rs[n - i];
    rs[1] = f.rollover_prev;
    f.rollover = f.rollover_prev;
    // 6. Revolutions relative to the run's second sample.
    const i32 r = record_revolution_field(rec) - kRevolutionOffset;
    if (c == 1) f.initial_rollover = r;
    f.rollover_prev = clng(r - f.initial_rollover);
    // 7. Unwrap: counts above 3100 lose a revolution when counts below 900 are present.
    bool low = false;
    for (int i = 1; i <= 7; ++i) low = low || aw[i] < 900;
    for (i32 i = 1; i <= n; ++i) {
      const i32 a = static_cast<i32>(aw[i]);
      d[i] = (aw[i] > 3100 && low) ? a - 4000 : a;
    }
    // 8. Time wrap.
    if (tw[1] < tw[2]) {
      ++k;
      for (i32 i = 2; i <= n; ++i) tw[i] = tw[i] - kTimeWrap;
    }
    // 9. Least-squares velocity; Sxx is accumulated in single precision.
    double sxy = 0, sy = 0, sx = 0;
    float sxx = 0;
    bool equal_times = true;
    for (i32 i = 1; i <= n; ++i) {
      const double x = tw[i];
      const double y = d[i];
      sxy = sxy + x * y;
      sy = sy + y;
      sx = sx + x;
      sxx = static_cast<float>(static_cast<double>(sxx) + x * x);
      equal_times = equal_times && x == tw[1];
    }
    const double den = static_cast<double>(n) * static_cast<double>(sxx) - sx * sx;
    if (den != 0 && !equal_times) v = 40000 * (n * sxy - sx * sy) / den;
    f.velocity = v;
    // 10. Plot coordinates (saturating: such points lie off the surface anyway). Velocity
    // is drawn upward: a positive velocity lies above the centre line.
    f.poincare_y = f.Picture2.ScaleHeight() / 2.0 - 10 * v;
    f.phase_y = clng_sat(f.Picture1.ScaleHeight() / 2.0 - 10 * v);
    // 11. The window-centre sample.
    f.phase_counts = cint(aw[mid]);
    // 12. Warm-up, or one point on one of the plots.
    if (c <= n + 3) {
      ++c;
      store_phase_point(f);
    } else if (f.poincare_event) {
      store_phase_point(f);  // before drawing, which folds phase_counts
      plot_poincare_point(f);
    } else {
      plot_phase_point(f);
    }
    // 13-15. Rows for the printed page. No row keeps a value from an earlier run: the new
    // row's column 1 holds this point's value until the next pass stores the next one.
    if (f.cnt <= kRowLimit) {
      ++f.cnt;
    } else {
      f.cnt = kRowLimit;
    }
    store_phase_point(f);
    const bool in_range = v > -2000 && v < 2000;
    f.orbit_points.at(f.cnt, 2) = in_range ? cint(10 * v) : 0;
    if (in_range && f.poincare_event) {
      if (f.poincare_cnt <= kRowLimit) {
        ++f.poincare_cnt;
      } else {
        f.poincare_cnt = kRowLimit;
      }
      f.poincare_points.at(f.poincare_cnt, 1) = cint(1.5 * aw[mid]);
      f.poincare_points.at(f.poincare_cnt, 2) = cint(10 * v);
    }
    // 16-17. File lines, from the fifth pass on.
    const bool lines_due = c > (n + 1) / 2.0;
    if (f.saving && lines_due && (f.saving_orbit || f.poincare_event)) {
      std::size_t len;
      if (f.saving_orbit) {
        const double t = k * kSecondsPerTimeWrap + tw[2] / kTimeCountsPerSecond;
        len = format_orbit_line(line, t, phase_of_count(aw[mid]), v * kVelocityToRadPerSec, rs[3]);
      } else {
        len = format_poincare_line(line, phase_of_count(aw[mid]), v * kVelocityToRadPerSec);
      }
      if (write_data_line(f, std::string_view(line, len))) {
        ++w;
        run.progress(std::min<std::int64_t>(w, f.number_of_points), f.number_of_points);
      } else {
        write_error = true;
        stop = true;
      }
    }
    // 18. Show the phase plot every 16th pass.
    if (refresh == 15) {
      f.Picture1.Refresh();
      refresh = 0;
    } else {
      ++refresh;
    }
    // 19-20. HALT and Clear.
    if (run.halt_requested()) {
      halted = true;
      stop = true;
    }
    // Clear empties the print table's row count even while recording; it restarts the
    // phase plot only when no file is written.
    const bool cleared = run.clear_requested();
    if (cleared) f.cnt = 0;
    if (cleared && !f.saving) {
      f.Picture1.Cls();
      setup_phase_plot(f);
      draw_phase_axes(f);
      c = 0;
    }
    // 21. A recording stops after number_of_points + 1 lines.
    if (f.saving && w > f.number_of_points) {
      count_reached = true;
      stop = true;
    }
  }
  if (stop) {
    // A full or failed file counts before HALT pressed in the same pass: the file is
    // complete (or its error must be told) either way.
    end = write_error     ? RunEnd::WriteError
          : count_reached ? RunEnd::CountReached
          : halted        ? RunEnd::Halted
                          : end;
  }
  f.Picture1.Refresh();
  report_end(f, end);
  return end;
}

}  // namespace kv
