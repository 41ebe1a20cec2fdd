// Progress of the long commands: the engines report it to their run control, the window's
// run control shows it in the status text at most 10 times a second (reading its clock
// only every so many reports), and always when the work is done.
#include <gtest/gtest.h>

#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "platform/run_control.h"
#include "tests/support/scripted_services.h"

namespace kv {
namespace {

TEST(ProgressPacer, ReportsAtMostEveryIntervalAndReadsTheClockLessOftenWhenCallsAreFast) {
  ProgressPacer p(100);
  std::int64_t now = 0;
  int reads = 0, shown = 0;
  // 100000 reports within 1 s of a clock that moves 1 ms per 1000 reports.
  for (int i = 0; i < 100000; ++i) {
    now = i / 100;
    if (!p.tick()) continue;
    ++reads;
    if (p.due(now)) ++shown;
  }
  EXPECT_LE(shown, 11);
  EXPECT_GE(shown, 9);
  EXPECT_LT(reads, 2000) << "the clock is not read on every report";
  EXPECT_GT(p.stride(), 1);
  // Reports that turn slow (one per 200 ms) are shown again once the next clock read has
  // seen it: the stride falls back to 1 at that read, and every later one is shown.
  const std::int64_t stride = p.stride();
  int slow_shown = 0;
  for (std::int64_t i = 1; i <= stride + 50; ++i) {
    now += 200;
    if (p.tick() && p.due(now) && i > stride) ++slow_shown;
  }
  EXPECT_EQ(p.stride(), 1);
  EXPECT_EQ(slow_shown, 50);
}

TEST(WindowProgress, StatusTextAtMostTenTimesASecondAndAlwaysAtTheEnd) {
  ScriptedServices s;
  Form1 f(s.services());
  WindowRunControl run(f, [](std::int64_t done, std::int64_t total) {
    return recording_progress_text("/some/folder/run.pha", done, total);
  });
  run.progress(1, 3000);
  EXPECT_TRUE(f.ui[Ctl::Text58].visible);
  EXPECT_EQ(f.ui[Ctl::Text58].text, "Recording run.pha: 1 of 3000 points");
  run.progress(2, 3000);  // the clock has not moved: not shown
  EXPECT_EQ(f.ui[Ctl::Text58].text, "Recording run.pha: 1 of 3000 points");
  s.manual_clock.now = 150;
  for (int i = 3; i <= 1234; ++i) run.progress(i, 3000);
  EXPECT_NE(f.ui[Ctl::Text58].text, "Recording run.pha: 1 of 3000 points");
  run.progress(3000, 3000);
  EXPECT_EQ(f.ui[Ctl::Text58].text, "Recording run.pha: 3000 of 3000 points");

  EXPECT_EQ(simulation_progress_text("sim.pha", 12, 40), "Simulating sim.pha: 12 of 40 points");
  EXPECT_EQ(segment_progress_text(3, 27), "Segment 3 of 27");
  // The end texts' counts.
  EXPECT_EQ(counted(3001, "line"), "3,001 lines");
  EXPECT_EQ(counted(1234567, "point"), "1,234,567 points");
  EXPECT_EQ(counted(1, "point"), "1 point");
  EXPECT_EQ(counted(999, "segment"), "999 segments");

  // Without a progress text nothing is shown.
  Form1 g(s.services());
  WindowRunControl quiet(g);
  quiet.progress(5, 5);
  EXPECT_EQ(g.ui[Ctl::Text58].text.find(" of "), std::string::npos);
}

}  // namespace
}  // namespace kv
