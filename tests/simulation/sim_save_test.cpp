#include <gtest/gtest.h>

#include <cstdio>

#include "datafiles/save_file.h"
#include "sim_support.h"
#include "simulation/model.h"

using namespace kv;
using namespace kv::test;
namespace fs = std::filesystem;

TEST(SimSave, HaltDiscardsTheSaveAndAnOlderFileSurvives) {
  for (Ctl kind : {Ctl::Check3, Ctl::Check4}) {
    const auto dir = temp_folder("halt");
    const auto path = dir / "old.dat";
    write_file(path, "OLD");
    SimForm t;
    t.computer_time();
    t.halt_after(30);
    t.save(kind, "1000", path.string());
    EXPECT_EQ(t.f.cnt, 30);
    EXPECT_EQ(read_file(path), "OLD");
    EXPECT_EQ(files_in(dir), 1);  // no temporary file left behind
    EXPECT_EQ(t.f.saving, kFalse);
    EXPECT_EQ(t.f.save_file_number, 0);
    EXPECT_EQ(t.f.ui[Ctl::Text58].text, "Simulation stopped: old.dat was not kept.");
  }
}

TEST(SimSave, CancelledOrRefusedRepliesEndTheCommandWithoutAFile) {
  const auto dir = temp_folder("cancel");
  for (const char* reply : {"", "-5", "2500000", "99999999999"}) {
    SimForm t;
    t.save(Ctl::Check3, reply, (dir / "x.pha").string());
    EXPECT_EQ(t.s.dialogs.count("save"), 0) << reply;
    EXPECT_FALSE(t.f.ui[Ctl::Text18].enabled);
    EXPECT_EQ(t.f.ui[Ctl::Text18].back_color, kGrey) << reply;  // no run: HALT not green
    EXPECT_EQ(t.f.plot_flag, kTrue);  // left to the timer, as after any early end
  }
  SimForm t;
  t.save(Ctl::Check3, "100", "");  // the save dialog cancelled
  EXPECT_EQ(t.f.ui[Ctl::Text18].back_color, kGrey);
  EXPECT_FALSE(t.f.ui[Ctl::Picture1].visible);
  EXPECT_FALSE(t.f.ui[Ctl::Frame21].visible);
  const auto old = dir / "old.poi";
  write_file(old, "OLD");
  SimForm u;
  u.save(Ctl::Check4, "100", "");
  EXPECT_EQ(read_file(old), "OLD");
  EXPECT_EQ(files_in(dir), 1);

  // A reply that reads as 0 gives a file of the two header lines.
  SimForm v;
  v.save(Ctl::Check3, "abc", (dir / "zero.pha").string());
  EXPECT_EQ(read_file(dir / "zero.pha"), " 0 \r\nPHASE\r\n");
  EXPECT_EQ(v.f.cnt, 0);
}

TEST(SimSave, PoincareSamplesWrittenToTheFileAreAlsoStored) {
  SimForm t;
  t.computer_time();
  const auto path = temp_folder("poi") / "s.poi";
  t.save(Ctl::Check4, "5", path.string());
  const auto lines = lines_of(read_file(path));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[1], "POINCARE");
  ASSERT_EQ(t.f.poincare_cnt, 5);
  for (int i = 1; i <= 5; ++i) {
    double phase, omega;
    ASSERT_EQ(std::sscanf(lines[1 + i].c_str(), "%lf %lf", &phase, &omega), 2);
    double count = std::nearbyint((phase + 3.14159) / 3.1415927 * 2000);
    if (count > 2000) count -= 4000;
    EXPECT_NEAR(t.f.poincare_points.at(i, 1), count * 1.5, 2) << i;
    EXPECT_NEAR(t.f.poincare_points.at(i, 2), omega / 0.1569673 * 10, 1) << i;
  }
}

TEST(SimSave, FileErrorsStopWithAMessageAndKeepWhatWasWritten) {
  const auto dir = temp_folder("errors");
  SimForm t;
  const std::string missing = (dir / "no" / "such" / "x.pha").string();
  t.save(Ctl::Check4, "10", missing);
  ASSERT_EQ(t.messages(), 1);
  EXPECT_NE(t.last_message().find(missing), std::string::npos);
  EXPECT_EQ(t.s.dialogs.shown.back().title, "File error");
  EXPECT_FALSE(t.f.ui[Ctl::Text18].enabled);
  EXPECT_EQ(t.f.ui[Ctl::Text18].back_color, kGrey);
  EXPECT_EQ(t.f.cnt, 0);
  EXPECT_EQ(files_in(dir), 0);

#ifndef _WIN32  // the file-size limit that stands in for a full disk is POSIX
  // The disk fills up during the run: files may grow only to 200 kB.
  SimForm u;
  u.computer_time();
  const auto path = dir / "full.pha";
  write_file(path, "OLD");
  with_file_size_limit(200000, [&] { u.save(Ctl::Check3, "1000000", path.string()); });
  ASSERT_EQ(u.messages(), 1);
  EXPECT_NE(u.last_message().find("Cannot write"), std::string::npos) << u.last_message();
  EXPECT_LT(u.f.cnt, 20000);  // the run stopped at the error
  // The earlier file is untouched; the whole lines written are kept beside it.
  EXPECT_EQ(read_file(path), "OLD");
  const auto incomplete = dir / "full.incomplete.pha";
  EXPECT_NE(u.last_message().find(incomplete.string()), std::string::npos) << u.last_message();
  const std::string kept = read_file(incomplete);
  EXPECT_EQ(kept.substr(0, 18), " 1000000 \r\nPHASE\r\n");
  EXPECT_GT(kept.size(), 100000u);
  EXPECT_EQ(kept.substr(kept.size() - 2), "\r\n");
  EXPECT_FALSE(u.f.ui[Ctl::Text18].enabled);
#endif
}

TEST(SimSave, AModelThatBlowsUpEndsTheRunLikeHalt) {
  const auto dir = temp_folder("unstable");
  const auto path = dir / "old.pha";
  write_file(path, "OLD");
  SimForm t;
  t.computer_time();
  t.f.ui.set_text(Ctl::Text27, "1000000");   // a natural frequency of 10^6 rad/s: the
  t.f.ui.set_text(Ctl::Text26, "0.000001");  // 2 ms step spans thousands of periods
  t.save(Ctl::Check3, "1000", path.string());
  ASSERT_EQ(t.messages(), 1);
  EXPECT_NE(t.last_message().find("no longer a usable number"), std::string::npos);
  EXPECT_EQ(read_file(path), "OLD");
  EXPECT_EQ(files_in(dir), 1);
  EXPECT_EQ(t.f.plot_flag, kFalse);
}

TEST(SimSave, AFrozenClockEndsTheRunAndKeepsTheLinesSoFar) {
  const auto path = temp_folder("frozen") / "f.pha";
  SimForm t;
  t.computer_time();
  t.click(Ctl::Check3);
  SimRun r = t.begin();
  ASSERT_TRUE(open_save_file(t.f, path.string(), 1000, "PHASE"));
  t.f.saving = t.f.saving_orbit = kTrue;
  t.f.number_of_points = 1000;
  r.model.sim_time = 262143.0f;  // the last stretch before h / 2 falls below half an ulp
  EXPECT_EQ(run_sim_loop(t.f, r), SimEnd::TimeFrozen);
  EXPECT_EQ(r.model.sim_time, 262144.0f);
  EXPECT_LT(t.f.cnt, 100);
  finish_sim_run(t.f, SimEnd::TimeFrozen, r);
  ASSERT_EQ(t.messages(), 1);
  EXPECT_NE(t.last_message().find("can no longer advance"), std::string::npos);
  EXPECT_EQ(lines_of(read_file(path)).size(), 2u + r.saved_lines);
  EXPECT_GT(r.saved_lines, 0);
}

TEST(SimClock, TheSinglePrecisionClockStopsAtAPowerOfTwoAndBoundsThePoincarePoints) {
  const DerivedParameters d = derive(PendulumParameters{});
  // The default step stops the clock at 2^18 (about 29,163 s of pendulum time), which
  // holds about 26,975 drive periods.
  EXPECT_EQ(frozen_clock_time(d.h), 262144.0);
  EXPECT_EQ(static_cast<float>(262144.0 + d.h / 2), 262144.0f);
  EXPECT_NE(static_cast<float>(131072.0 + d.h / 2), 131072.0f);
  EXPECT_NEAR(frozen_clock_time(d.h) / d.omega0, 29163, 1);
  const long long n = reachable_poincare_points(d.h, d.drive_frequency, d.omega0, 0);
  EXPECT_NEAR(n, 26975, 1);
  // A time-out uses part of the clock; a drive that does not turn gives no point.
  EXPECT_LT(reachable_poincare_points(d.h, d.drive_frequency, d.omega0, 1000), n - 100);
  EXPECT_EQ(reachable_poincare_points(d.h, 0, d.omega0, 0), 0);
}

TEST(SimSave, APoincareCountBeyondTheClockIsRefusedBeforeTheRun) {
  const auto dir = temp_folder("beyond_clock");
  const auto path = dir / "prev.poi";
  write_file(path, "OLD");
  SimForm t;
  t.computer_time();
  t.save(Ctl::Check4, "40000", path.string());
  ASSERT_EQ(t.messages(), 1);
  EXPECT_NE(t.last_message().find("At most 2697"), std::string::npos) << t.last_message();
  EXPECT_NE(t.last_message().find("29163 s"), std::string::npos) << t.last_message();
  EXPECT_EQ(t.f.cnt, 0);  // nothing ran
  EXPECT_EQ(read_file(path), "OLD");
  EXPECT_EQ(files_in(dir), 1);
  EXPECT_FALSE(t.f.ui[Ctl::Text18].enabled);

  // A drive of frequency 0 never gives a Poincare point.
  SimForm u;
  u.computer_time();
  u.f.ui.set_text(Ctl::Text23, "0");
  u.save(Ctl::Check4, "100", path.string());
  ASSERT_EQ(u.messages(), 1);
  EXPECT_NE(u.last_message().find("At most 0 "), std::string::npos) << u.last_message();
  EXPECT_EQ(read_file(path), "OLD");
}

TEST(SimSave, AClockThatStopsBeforeTheFirstLineReplacesNothing) {
  const auto dir = temp_folder("frozen_empty");
  const auto path = dir / "prev.pha";
  write_file(path, "OLD");
  SimForm t;
  t.computer_time();
  t.click(Ctl::Check3);
  t.f.ui.set_text(Ctl::Text69, "1e300");  // the time-out is never over
  SimRun r = t.begin();
  ASSERT_TRUE(open_save_file(t.f, path.string(), 1000, "PHASE"));
  t.f.saving = t.f.saving_orbit = kTrue;
  t.f.number_of_points = 1000;
  r.model.sim_time = 262143.0f;
  EXPECT_EQ(run_sim_loop(t.f, r), SimEnd::TimeFrozen);
  EXPECT_EQ(r.saved_lines, 0);
  finish_sim_run(t.f, SimEnd::TimeFrozen, r);
  ASSERT_EQ(t.messages(), 1);
  EXPECT_NE(t.last_message().find("no file was written"), std::string::npos) << t.last_message();
  EXPECT_EQ(read_file(path), "OLD");
  EXPECT_EQ(files_in(dir), 1);
}
