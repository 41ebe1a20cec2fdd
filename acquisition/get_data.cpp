#include "acquisition/get_data.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

#include "acquisition/acquisition_state.h"
#include "acquisition/sample_sinks.h"
#include "datafiles/save_state.h"
#include "platform/clock.h"
#include "platform/run_control.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
#include "plot/poincare_plot.h"

namespace kv {

namespace {

// Fetches the record for the next pass. A new record ends any silence. A transient
// failure repeats the previous record (a few times in a row at most). While nothing new
// arrives HALT is still polled, and a box that stays silent for kSilenceLimitMs, or that
// is gone or out of data, stops the run.
class RecordSource {
 public:
  // `waiting` is called on every pass that brings no new record.
  RecordSource(AcquisitionState& acq, Clock& clock, RunControl& run, std::function<void()> waiting)
      : acq_(acq), clock_(clock), run_(run), waiting_(std::move(waiting)) {}

  // True when record() holds the sample to decode; false with `end` set otherwise.
  bool next(RunEnd& end) {
    for (;;) {
      const BoxRead got = acq_.device ? acq_.device->read(record_, kReadTimeoutMs) : BoxRead::Gone;
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
      waiting_();
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
    const std::int64_t now = clock_.tick_ms();
    if (silent_since_ < 0) silent_since_ = now;
    return now - silent_since_;
  }

  AcquisitionState& acq_;
  Clock& clock_;
  RunControl& run_;
  std::function<void()> waiting_;
  SampleRecord record_{};
  bool have_record_ = false;
  int repeats_ = 0;
  std::int64_t silent_since_ = -1;
};

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

RunEnd get_data(const AcquisitionContext& c, RunControl& run) {
  PlotState& plot = c.plot;
  // Start of a run.
  start_decoding(c.acq);
  plot.cnt = 0;
  plot.poincare_cnt = 0;
  start_poincare_marker(plot);
  // While the box is quiet, the lines of a real-time recording still reach its partial
  // file within a second (a write error then shows at the next line).
  RecordSource source(c.acq, c.clock, run, [&c] {
    if (OutputFile* file = c.files.output(c.save.save_file_number)) file->flush_if_due();
  });
  PlotSink plot_sink(plot);
  DataLineSink line_sink(c.save, c.files);
  bool stop = false, halted = false, count_reached = false, write_error = false;
  RunEnd end = RunEnd::Halted;

  while (!stop) {
    // The record is fetched before the windows shift, so that a run ending while it
    // waits leaves the windows as they were.
    if (!source.next(end)) break;
    const DecodedSample sample = decode_record(c.acq, source.record());
    // The sinks, in this order: the plots, the print tables, the data file.
    plot_sink.take(sample);
    store_print_rows(plot, sample);
    switch (line_sink.take(sample)) {
      case DataLineSink::Line::written:
        run.progress(std::min<std::int64_t>(line_sink.written(), plot.number_of_points),
                     plot.number_of_points);
        break;
      case DataLineSink::Line::failed:
        write_error = true;
        stop = true;
        break;
      case DataLineSink::Line::none:
        break;
    }
    plot_sink.show_now_and_then();
    // HALT and Clear.
    if (run.halt_requested()) {
      halted = true;
      stop = true;
    }
    // Clear empties the print table's row count even while recording; it restarts the
    // phase plot (and the warm-up) only when no file is written.
    const bool cleared = run.clear_requested();
    if (cleared) plot.cnt = 0;
    if (cleared && !c.save.saving) {
      plot_sink.restart();
      restart_warm_up(c.acq);
    }
    // A recording stops after number_of_points + 1 lines.
    if (c.save.saving && line_sink.written() > plot.number_of_points) {
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
  plot.Picture1.Refresh();
  return end;
}

}  // namespace kv
