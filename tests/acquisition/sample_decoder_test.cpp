// The decoder step on its own (records in, samples out: no box, no plot, no file), and
// the acquisition engine run on its state groups alone, without the window's state: the
// data file holds exactly the lines of the decoded sample stream.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "acquisition/acquisition_state.h"
#include "acquisition/get_data.h"
#include "acquisition/sample_decoder.h"
#include "datafiles/data_lines.h"
#include "datafiles/save_file.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
#include "tests/acquisition/scripted_box.h"
#include "tests/support/files.h"

namespace kv {
namespace {

using test::Motion;
using test::ScriptedBox;

std::vector<DecodedSample> decode(DecoderState& s, const Motion& m, long count) {
  std::vector<DecodedSample> out;
  for (long n = 0; n < count; ++n) out.push_back(decode_record(s, m.at(n)));
  return out;
}

TEST(SampleDecoder, VelocityIsReadFromTheSample) {
  // A steady rotation of `rate` counts per 8000 time counts: V = 40000 x rate / 8000 once
  // the window holds seven records, also across the zero count (either way), with high
  // counts and no low one in the window (3200: nothing to unwrap), and across a wrap of
  // the time counter inside the window.
  for (double rate : {5.0, -5.0, 10.0, -37.0}) {
    for (double start : {2000.0, 3965.0, 40.0, 3200.0}) {
      for (std::uint32_t time0 : {0u, 65536u - 5 * 8000u + 123u}) {
        DecoderState s;
        start_decoding(s);
        Motion m;
        m.rate = rate;
        m.start = start;
        m.time0 = time0;
        const auto samples = decode(s, m, 14);
        const double v = 40000 * rate / 8000;
        for (std::size_t n = 7; n < samples.size(); ++n)
          EXPECT_NEAR(samples[n].velocity, v, std::abs(v) * 1e-5)
              << "rate " << rate << " start " << start << " time0 " << time0 << " record " << n;
        EXPECT_EQ(samples.back().velocity, s.velocity);
      }
    }
  }
}

TEST(SampleDecoder, VelocityStartsAtZeroAndIsKeptWhenNoFitIsPossible) {
  DecoderState s;
  s.velocity = 123;  // left by an earlier run
  start_decoding(s);
  // The first record: every time in the window is 0, so no line can be fitted.
  EXPECT_EQ(decode_record(s, make_record(2100, false, 0, 0)).velocity, 0);
  Motion m;
  m.time0 = 40001 - 19 * 8000;
  decode(s, m, 20);
  // The same record again: once the whole window holds its time 40001, V stays as it was
  // (single-precision Sxx alone gives a small non-zero denominator there, and V = 0).
  for (int i = 0; i < 6; ++i) decode_record(s, m.at(19));
  const double v = s.velocity;
  ASSERT_NE(v, 0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(decode_record(s, m.at(19)).velocity, v);
}

TEST(SampleDecoder, TheSampleIsTheWindowCentre) {
  // The window's centre is the record three before the newest; its revolutions count
  // from the run's second record.
  DecoderState s;
  start_decoding(s);
  Motion m;
  m.start = 3900;
  m.rate = 350;
  auto rev = [&](long n) {
    const auto total = static_cast<long long>(m.start + m.rate * static_cast<double>(n));
    return static_cast<i32>(total / 4000);
  };
  const auto samples = decode(s, m, 40);
  for (long n = 4; n < 40; ++n) {
    const long centre = n - 3;
    EXPECT_EQ(samples[n].angle_count, record_angle(m.at(centre))) << n;
    EXPECT_EQ(samples[n].revolutions, rev(centre) - rev(1)) << n;
  }
  EXPECT_GT(samples.back().revolutions, 2);
}

TEST(SampleDecoder, WarmUpLinesAndTimes) {
  DecoderState s;
  start_decoding(s);
  Motion m;
  m.time0 = 60000;  // the time counter wraps at the second record
  m.marker = [](long n) { return n >= 20 && n < 23; };
  const auto samples = decode(s, m, 30);
  for (long n = 0; n < 30; ++n) {
    const DecodedSample& d = samples[n];
    EXPECT_EQ(d.warm_up, n < 11) << n;     // the first kFitPoints + 4 passes
    EXPECT_EQ(d.lines_due, n >= 6) << n;   // lines from the seventh pass
    EXPECT_EQ(d.poincare_event, n == 20);  // the marker's rising edge only
    if (n >= 1) {
      // The record before the newest, on a clock that runs on across the wraps.
      EXPECT_NEAR(d.time, (60000.0 + (n - 1) * 8000.0) / 4e6, 1e-12) << n;
    }
  }
  // Clear while nothing is recorded: the warm-up again.
  restart_warm_up(s);
  for (long n = 30; n < 45; ++n) EXPECT_EQ(decode_record(s, m.at(n)).warm_up, n < 41) << n;
}

// The engine on its groups alone: an orbit recording of N points whose file holds, after
// the header, the orbit lines of the decoded samples from the seventh on.
TEST(AcquisitionEngine, RecordsTheDecodedSampleStream) {
  const test::TempDir dir;
  const std::string path = dir.file("s.pha");
  AcquisitionState acq;
  auto plot = std::make_unique<PlotState>();
  SaveState save;
  FileTable files;
  ManualClock clock;
  Motion m;
  m.rate = 23;
  m.marker = [](long n) { return n % 17 == 0; };
  auto box = std::make_unique<ScriptedBox>();
  box->steps = m.steps(100);
  acq.device = std::move(box);
  const i32 n = 40;
  ASSERT_TRUE(open_save_file(save, files, path, n, "PHASE"));
  save.saving = kTrue;
  save.saving_orbit = kTrue;
  plot->number_of_points = n;
  ScriptedRunControl run;
  EXPECT_EQ(get_data({acq, *plot, save, files, clock}, run), RunEnd::CountReached);
  ASSERT_EQ(run.progress_reports.size(), static_cast<std::size_t>(n + 1));
  EXPECT_EQ(run.progress_reports.back(), (std::pair<std::int64_t, std::int64_t>(n, n)));
  EXPECT_EQ(plot->cnt, n + 7);  // a pass per record, N + 1 lines from the seventh
  ASSERT_TRUE(terminate_file(save, files));

  DecoderState s;
  start_decoding(s);
  const auto samples = decode(s, m, n + 7);
  std::string expected = " 40 \r\nPHASE\r\n";
  char line[160];
  for (long k = 6; k <= n + 6; ++k) {
    const DecodedSample& d = samples[k];
    expected.append(line, format_orbit_line(line, d.time, phase_of_count(d.angle_count),
                                            d.velocity * kRadPerSecPerV, d.revolutions));
    expected += "\r\n";
  }
  EXPECT_EQ(test::read_file(path), expected);
}

}  // namespace
}  // namespace kv
