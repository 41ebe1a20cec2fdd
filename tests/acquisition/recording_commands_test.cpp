// "Plot data", "Save orbit" and "Save poincare" driven through scripted dialogs and pointer:
// the file written, HALT and its key-state rule, the cancel paths and the point-count
// replies, and runs that end because the box is gone, silent or out of data.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "acquisition/replay_box.h"
#include "app/commands/commands.h"
#include "app/commands/recording.h"
#include "app/state/form1.h"
#include "datafiles/point_count.h"
#include "datafiles/save_file.h"
#include "platform/text_files.h"
#include "tests/acquisition/scripted_box.h"
#include "tests/support/files.h"

namespace kv {
namespace {

using test::Motion;
using test::ScriptedBox;
using test::Step;

using test::lines_of;

class Recording : public ::testing::Test {
 protected:
  void SetUp() override {
    f = std::make_unique<Form1>(s.services());
    auto b = std::make_unique<ScriptedBox>();
    b->clock = &s.manual_clock;
    box = b.get();
    f->device = std::move(b);
  }
  std::string path(const char* name) const { return dir.file(name); }
  // Holds the button down over (x, y) from poll `at` on.
  void press_at(long at, int x, int y) {
    s.pointer.on_query = [=](ScriptedPointer& p, long q) {
      if (q == at) {
        p.pos = {x, y};
        p.press();
      }
    };
  }

  ScriptedServices s;
  std::unique_ptr<Form1> f;
  ScriptedBox* box = nullptr;
  test::TempDir dir;
};

TEST_F(Recording, OrbitCountReachedKeepsTheFileWithNPlusOneLines) {
  box->steps = Motion{}.steps(200);
  s.dialogs.input_answers = {"20"};
  s.dialogs.save_answers = {path("run.pha")};
  f->FFT_flag = kTrue;
  std::uint32_t halt_colour = 0;
  bool halt_enabled = false;
  s.pointer.on_query = [&](ScriptedPointer&, long q) {
    if (q == 0) {
      halt_colour = f->ui[Ctl::Text18].back_color;
      halt_enabled = f->ui[Ctl::Text18].enabled;
    }
  };
  const RecordingOutcome out = save_orbit(*f);
  EXPECT_EQ(out.end, RunEnd::CountReached);
  EXPECT_TRUE(out.kept);
  EXPECT_EQ(halt_colour, kRed);
  EXPECT_TRUE(halt_enabled);
  const auto lines = lines_of(test::read_file(path("run.pha")));
  ASSERT_EQ(lines.size(), 2u + 21u);
  EXPECT_EQ(lines[0], " 20 ");
  EXPECT_EQ(lines[1], "PHASE");
  EXPECT_EQ(lines[2].substr(0, 4), ".01 ");  // time of sample 5, from pass 7
  EXPECT_EQ(box->pos, 6u + 21u);             // the run stopped at once
  // The dialogs as the design has them.
  ASSERT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_EQ(s.dialogs.shown[0].text, "Enter number of data points|1000");
  EXPECT_EQ(s.dialogs.shown[0].title, "number of points");
  EXPECT_EQ(s.dialogs.shown[1].text, "(*.pha)|*.pha");
  // Afterwards: HALT disabled and grey, the button grey, no file open, no spectrum.
  EXPECT_FALSE(f->ui[Ctl::Text18].enabled);
  EXPECT_EQ(f->ui[Ctl::Text18].back_color, kGrey);
  EXPECT_EQ(f->ui[Ctl::Text13].back_color, kGrey);
  EXPECT_EQ(f->saving, kFalse);
  EXPECT_EQ(f->save_file_number, 0);
  EXPECT_EQ(f->FFT_flag, kFalse);
  EXPECT_EQ(f->number_of_points, 20);
  EXPECT_EQ(dir.names(), std::vector<std::string>{"run.pha"});
  EXPECT_EQ(f->ui[Ctl::Text58].text, "Saved run.pha: 21 lines");
}

TEST_F(Recording, PoincareCountReachedWritesOneLinePerMarker) {
  Motion m;
  m.marker = [](long n) { return n % 30 == 10; };
  box->steps = m.steps(400);
  s.dialogs.input_answers = {"3"};
  s.dialogs.save_answers = {path("run.poi")};
  const RecordingOutcome out = save_poincare(*f);
  EXPECT_EQ(out.end, RunEnd::CountReached);
  const auto lines = lines_of(test::read_file(path("run.poi")));
  ASSERT_EQ(lines.size(), 2u + 4u);
  EXPECT_EQ(lines[0], " 3 ");
  EXPECT_EQ(lines[1], "POINCARE");
  // The marker at sample 10 is seen at pass 11; its window centre is sample 7.
  EXPECT_EQ(lines[2], "0.10996 7.8484");
  EXPECT_EQ(box->pos, 101u);  // stopped at the fourth marker (sample 100)
  EXPECT_EQ(f->ui[Ctl::Text14].back_color, kGrey);
}

TEST_F(Recording, HaltDeletesTheRecordingAndAnOldFileSurvives) {
  {
    OutputFile old;
    ASSERT_TRUE(old.open(path("run.pha")));
    old.print_line("old contents");
    ASSERT_TRUE(old.commit());
  }
  box->steps = Motion{}.steps(500);
  s.dialogs.input_answers = {"1000"};
  s.dialogs.save_answers = {path("run.pha")};
  press_at(100, 300, 720);
  const RecordingOutcome out = save_orbit(*f);
  EXPECT_EQ(out.end, RunEnd::Halted);
  EXPECT_FALSE(out.kept);
  EXPECT_EQ(test::read_file(path("run.pha")), "old contents\r\n");
  EXPECT_EQ(dir.names(), std::vector<std::string>{"run.pha"});
  // The fresh press is reported as -32767 and ignored; the next poll halts.
  EXPECT_EQ(box->pos, 52u);
  EXPECT_EQ(f->ui[Ctl::Text10].back_color, kGrey);
  EXPECT_EQ(f->ui[Ctl::Text13].back_color, kGrey);
  // The status text says that the file was not kept, and which.
  EXPECT_EQ(f->ui[Ctl::Text58].text,
            "Recording stopped by HALT: " + path("run.pha") + " was not kept.");
  EXPECT_TRUE(f->ui[Ctl::Text58].visible);
}

TEST_F(Recording, HaltBoxEdgesAndTheKeyStateRule) {
  struct Case {
    int x, y;
    bool halts;
  };
  for (const Case c : {Case{288, 711, true}, Case{359, 735, true}, Case{287, 720, false},
                       Case{360, 720, false}, Case{300, 710, false}, Case{300, 736, false}}) {
    box->steps = Motion{}.steps(100);
    box->pos = 0;
    f->number_of_points = 0;
    s.pointer.release();
    s.pointer.pos = {};
    // Poll 20 is pass 11's HALT poll: the fresh press is ignored there, pass 12 halts.
    press_at(s.pointer.queries() + 20, c.x, c.y);
    Text10_Click(*f);
    EXPECT_EQ(box->pos, c.halts ? 12u : 100u) << c.x << "," << c.y;
  }
  // Pressed and released before the next poll: no halt.
  box->steps = Motion{}.steps(100);
  box->pos = 0;
  s.pointer.release();
  const long base = s.pointer.queries();
  s.pointer.on_query = [base](ScriptedPointer& p, long q) {
    if (q == base + 20) {
      p.pos = {300, 720};
      p.press();
    } else if (q == base + 21) {
      p.release();
    }
  };
  Text10_Click(*f);
  EXPECT_EQ(box->pos, 100u);
}

TEST_F(Recording, EscapeActsAsHalt) {
  box->steps = Motion{}.steps(100);
  s.pointer.on_query = [](ScriptedPointer& p, long q) {
    if (q == 30) p.escape = true;
  };
  Text10_Click(*f);
  EXPECT_EQ(box->pos, 16u);
  EXPECT_FALSE(f->ui[Ctl::Text18].enabled);
}

TEST_F(Recording, PlotDataIsNotCutShortByALeftOverCount) {
  box->steps = Motion{}.steps(50);
  f->number_of_points = -5;
  std::uint32_t halt_colour = 0;
  s.pointer.on_query = [&](ScriptedPointer&, long q) {
    if (q == 0) halt_colour = f->ui[Ctl::Text18].back_color;
  };
  Text10_Click(*f);
  EXPECT_EQ(halt_colour, kGreen);
  EXPECT_EQ(box->pos, 50u);
  EXPECT_EQ(f->ui[Ctl::Text10].back_color, kGrey);
  EXPECT_NE(f->ui[Ctl::Text58].text.find("End of the replayed records"), std::string::npos);
}

// Replies that end either recording before it runs: a cancelled or refused count (before
// the save dialog, a count kept) and a cancelled save dialog. Nothing is recorded, a
// cancelled count closes a file left open, and Clear, taken away while the command asked,
// is given back.
TEST_F(Recording, RepliesThatEndTheCommandRecordNothing) {
  struct Case {
    const char* count;
    int save_dialogs;
    bool cancels;
  };
  for (const Case c : {Case{"", 0, true}, Case{"-5", 0, true}, Case{"99999999999", 0, false},
                       Case{"10", 1, false}})
    for (bool orbit : {true, false}) {
      if (c.cancels) {
        ASSERT_TRUE(open_save_file(*f, path("left.pha"), 5, "PHASE"));
      }
      f->ui.set_enabled(Ctl::Text7, true);
      f->number_of_points = 11;
      const int shown = s.dialogs.count("save");
      s.dialogs.input_answers = {c.count};
      s.dialogs.save_answers = {""};
      const RecordingOutcome out = orbit ? save_orbit(*f) : save_poincare(*f);
      EXPECT_FALSE(out.ran) << c.count;
      EXPECT_EQ(s.dialogs.count("save") - shown, c.save_dialogs) << c.count;
      EXPECT_EQ(f->number_of_points, c.save_dialogs ? 10 : 11) << c.count;
      EXPECT_EQ(f->save_file_number, 0) << c.count;
      EXPECT_EQ(f->saving, kFalse);
      EXPECT_TRUE(f->ui[Ctl::Text7].enabled) << c.count;
      EXPECT_EQ(f->ui[orbit ? Ctl::Text13 : Ctl::Text14].back_color, kGrey);
      EXPECT_EQ(box->pos, 0u);
    }
  EXPECT_EQ(lines_of(test::read_file(path("left.pha"))),
            (std::vector<std::string>{" 5 ", "PHASE"}));
  EXPECT_EQ(dir.names(), std::vector<std::string>{"left.pha"});
  // 2500000 is too many lines for an orbit recording, a valid count for a Poincare one.
  s.dialogs.input_answers = {"2500000", "2500000"};
  save_orbit(*f);
  EXPECT_EQ(s.dialogs.count("save"), 2);
  save_poincare(*f);
  EXPECT_EQ(s.dialogs.count("save"), 3);
}

TEST_F(Recording, ReplyWithoutANumberRecordsOneLine) {
  box->steps = Motion{}.steps(100);
  s.dialogs.input_answers = {"abc"};
  s.dialogs.save_answers = {path("one.pha")};
  save_orbit(*f);
  EXPECT_EQ(lines_of(test::read_file(path("one.pha"))).size(), 3u);
  EXPECT_EQ(lines_of(test::read_file(path("one.pha")))[0], " 0 ");
}

TEST_F(Recording, PointCountReplies) {
  std::int32_t n = 7;
  EXPECT_EQ(parse_point_count("", n), PointCountReply::Cancel);
  EXPECT_EQ(parse_point_count("-5", n), PointCountReply::Cancel);
  EXPECT_EQ(parse_point_count("99999999999", n), PointCountReply::TooLarge);
  EXPECT_EQ(parse_point_count("1e400", n), PointCountReply::TooLarge);
  EXPECT_EQ(n, 7);
  EXPECT_EQ(parse_point_count("2.5", n), PointCountReply::Ok);
  EXPECT_EQ(n, 2);  // halves to even
  EXPECT_EQ(parse_point_count("3.5 points", n), PointCountReply::Ok);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(parse_point_count("2147483647", n), PointCountReply::Ok);
  EXPECT_EQ(n, 2147483647);
}

TEST_F(Recording, VanishedBoxKeepsTheLinesAndSaysTheRecordingIsIncomplete) {
  box->steps = Motion{}.steps(40);
  box->after_end = BoxRead::Gone;
  s.dialogs.input_answers = {"1000"};
  s.dialogs.save_answers = {path("gone.pha")};
  const RecordingOutcome out = save_orbit(*f);
  EXPECT_EQ(out.end, RunEnd::BoxGone);
  EXPECT_EQ(lines_of(test::read_file(path("gone.pha"))).size(), 2u + 34u);
  const std::string status = f->ui[Ctl::Text58].text;
  EXPECT_TRUE(f->ui[Ctl::Text58].visible);
  EXPECT_NE(status.find("Recording incomplete"), std::string::npos) << status;
  EXPECT_NE(status.find("34 data lines"), std::string::npos) << status;
  EXPECT_NE(status.find("gone.pha"), std::string::npos) << status;
}

TEST_F(Recording, SilentBoxEndsTheRunAfterTwoSeconds) {
  box->steps = Motion{}.steps(30);
  box->after_end = BoxRead::Timeout;
  s.dialogs.input_answers = {"1000"};
  s.dialogs.save_answers = {path("silent.pha")};
  const auto start = s.manual_clock.now;
  const RecordingOutcome out = save_orbit(*f);
  EXPECT_EQ(out.end, RunEnd::BoxSilent);
  EXPECT_GE(s.manual_clock.now - start, kSilenceLimitMs);
  EXPECT_LE(s.manual_clock.now - start, kSilenceLimitMs + 2 * kReadTimeoutMs);
  EXPECT_EQ(lines_of(test::read_file(path("silent.pha"))).size(), 2u + 24u);
  EXPECT_NE(f->ui[Ctl::Text58].text.find("stopped sending"), std::string::npos);
}

TEST_F(Recording, HaltIsStillSeenWhileTheBoxIsSilent) {
  box->steps = Motion{}.steps(30);
  box->after_end = BoxRead::Timeout;
  s.dialogs.input_answers = {"1000"};
  s.dialogs.save_answers = {path("silent.pha")};
  press_at(63, 300, 720);  // polls 60, 61 are pass 30's; then one poll per empty read
  const RecordingOutcome out = save_orbit(*f);
  EXPECT_EQ(out.end, RunEnd::Halted);
  EXPECT_TRUE(dir.names().empty());
}

TEST_F(Recording, RepeatedFailuresCountAsSilence) {
  box->steps = Motion{}.steps(30);
  box->after_end = BoxRead::Failed;
  s.manual_clock.auto_step = 50;
  s.dialogs.input_answers = {"1000"};
  s.dialogs.save_answers = {path("failing.pha")};
  const RecordingOutcome out = save_orbit(*f);
  EXPECT_EQ(out.end, RunEnd::BoxSilent);
  // The previous record is repeated a few times, then no more lines are made up.
  EXPECT_EQ(lines_of(test::read_file(path("failing.pha"))).size(), 2u + 24u + kMaxRepeatedRecords);
}

TEST_F(Recording, ReplayEndKeepsTheRecording) {
  f->device = std::make_unique<ReplayBox>(Motion{}.raw(60), "test records");
  s.dialogs.input_answers = {"1000"};
  s.dialogs.save_answers = {path("replay.pha")};
  const RecordingOutcome out = save_orbit(*f);
  EXPECT_EQ(out.end, RunEnd::EndOfData);
  EXPECT_TRUE(out.kept);
  EXPECT_EQ(lines_of(test::read_file(path("replay.pha"))).size(), 2u + 54u);
}

TEST_F(Recording, UncreatableFileIsToldAndNothingRuns) {
  s.dialogs.input_answers = {"10"};
  s.dialogs.save_answers = {path("no-such-folder/x.pha")};
  const RecordingOutcome out = save_orbit(*f);
  EXPECT_FALSE(out.ran);
  EXPECT_EQ(box->pos, 0u);
  ASSERT_EQ(s.dialogs.count("message"), 1);
  EXPECT_NE(s.dialogs.shown.back().text.find("x.pha"), std::string::npos);
  EXPECT_EQ(s.dialogs.shown.back().title, "File error");
  EXPECT_EQ(f->saving, kFalse);
  EXPECT_EQ(f->ui[Ctl::Text13].back_color, kGrey);
}

#ifndef _WIN32  // the file-size limit that stands in for a full disk is POSIX
TEST_F(Recording, WriteErrorStopsTheRunKeepsWhatWasWrittenAndIsTold) {
  // A file-size limit stands in for a full disk.
  Motion m;
  m.rate = 1;
  box->steps = m.steps(20000);
  s.dialogs.input_answers = {"1000000"};
  s.dialogs.save_answers = {path("full.pha")};
  RecordingOutcome out;
  test::with_file_size_limit(100000, [&] { out = save_orbit(*f); });
  EXPECT_EQ(out.end, RunEnd::WriteError);
  EXPECT_LT(box->pos, 20000u);
  ASSERT_EQ(s.dialogs.count("message"), 1);
  EXPECT_NE(s.dialogs.shown.back().text.find("full.pha"), std::string::npos);
  // The chosen name never gets a file cut short: the whole lines recorded before the error
  // are kept beside it, under a name that says so, and the message names that file.
  EXPECT_NE(s.dialogs.shown.back().text.find("was not created"), std::string::npos);
  EXPECT_NE(s.dialogs.shown.back().text.find(path("full.incomplete.pha")), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path("full.pha")));
  const std::string text = test::read_file(path("full.incomplete.pha"));
  EXPECT_GT(text.size(), 60000u);
  EXPECT_EQ(text.substr(0, 9), " 1000000 ");
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(f->saving, kFalse);
}
#endif

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// The engine given a request on state groups of its own, without a window: every line
// reported, and an unwritable path given back as the reason. (Its file is the window's:
// tests/faces.)
TEST_F(Recording, RequestReportsEveryLineAndGivesItsReasons) {
  ManualClock clock;
  const auto scripted = [&clock] {
    auto b = std::make_unique<ScriptedBox>();
    b->clock = &clock;
    b->steps = Motion{}.steps(200);
    return b;
  };
  ScriptedRunControl run;
  const RecordingOutcome out =
      record_from_box(scripted(), {RecordingKind::Orbit, 30, path("request.pha")}, clock, run);
  EXPECT_EQ(out.status, Status::done);
  EXPECT_EQ(out.end, RunEnd::CountReached);
  EXPECT_TRUE(out.kept);
  EXPECT_EQ(out.lines, 31);
  EXPECT_TRUE(out.reason.empty());
  EXPECT_EQ(lines_of(test::read_file(path("request.pha"))).size(), 2u + 31u);
  // Every data line written is reported, counted up to the N asked for.
  ASSERT_EQ(run.progress_reports.size(), 31u);
  EXPECT_EQ(run.progress_reports.front(), (std::pair<std::int64_t, std::int64_t>{1, 30}));
  EXPECT_EQ(run.progress_reports[29], (std::pair<std::int64_t, std::int64_t>{30, 30}));
  EXPECT_EQ(run.progress_reports.back(), (std::pair<std::int64_t, std::int64_t>{30, 30}));

  const RecordingOutcome refused = record_from_box(
      scripted(), {RecordingKind::Poincare, 5, path("no-folder/x.poi")}, clock, run);
  EXPECT_EQ(refused.status, Status::failed);
  EXPECT_FALSE(refused.ran);
  EXPECT_NE(refused.reason.find("no-folder"), std::string::npos) << refused.reason;
}

// A real-time recording whose box goes quiet still gets its lines onto the disk within a
// second, so that a crash then loses none of them: the run control waits a real second
// at the first quiet pass and looks at the partial file at the next.
TEST_F(Recording, LinesReachThePartialFileWhileTheBoxIsQuiet) {
  struct QuietWatch : RunControl {
    std::string partial;
    std::int64_t written = 0, seen = 0;
    bool slept = false;
    std::size_t on_disk = 0;
    bool halt_requested() override {
      if (written == 0 || written != seen) {  // a pass that wrote a line
        seen = written;
        return false;
      }
      if (!slept) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1100));
        slept = true;
        return false;
      }
      on_disk = lines_of(test::read_file(partial)).size();
      return true;
    }
    bool clear_requested() override { return false; }
    void progress(std::int64_t done, std::int64_t) override { written = done; }
  };
  ManualClock clock;
  auto b = std::make_unique<ScriptedBox>();
  b->clock = &clock;
  b->steps = Motion{}.steps(40);
  b->after_end = BoxRead::Timeout;
  QuietWatch watch;
  watch.partial = OutputFile::partial_path(path("quiet.pha"));
  record_from_box(std::move(b), {RecordingKind::Orbit, 1000, path("quiet.pha")}, clock, watch);
  ASSERT_GT(watch.written, 0);
  EXPECT_EQ(watch.on_disk, 2u + static_cast<std::size_t>(watch.written));
}

}  // namespace
}  // namespace kv
