// The acquisition engine's decoding: windows, marker edges, unwrap, time wrap, the
// velocity fit, the warm-up, Clear, the row counters and the values kept between runs.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <memory>

#include "acquisition/get_data.h"
#include "app/commands/collect_data.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "datafiles/save_file.h"
#include "platform/text_files.h"
#include "plot/phase_plot.h"
#include "tests/acquisition/scripted_box.h"
#include "tests/support/files.h"

namespace kv {
namespace {

using test::Motion;
using test::ScriptedBox;
using test::Step;

// A run with HALT and Clear polled as the window polls them (scripted pointer).
RunEnd get_data(Form1& f, RunControl& run) {
  return kv::get_data(acquisition_context(f), run);
}
RunEnd get_data(Form1& f) {
  WindowRunControl run(f);
  return get_data(f, run);
}

struct Rig {
  ScriptedServices s;
  std::unique_ptr<Form1> f;
  ScriptedBox* box = nullptr;

  Rig() {
    f = std::make_unique<Form1>(s.services());
    auto b = std::make_unique<ScriptedBox>();
    b->clock = &s.manual_clock;
    box = b.get();
    f->device = std::move(b);
  }
  RunEnd run(std::vector<Step> steps) {
    box->steps = std::move(steps);
    box->pos = 0;
    return get_data(*f);
  }
};

std::vector<Step> records(std::initializer_list<SampleRecord> rs) {
  std::vector<Step> out;
  for (const auto& r : rs) out.push_back({BoxRead::Ok, r});
  return out;
}

TEST(Decoding, FirstElevenPassesDrawNothing) {
  Rig rig;
  const auto serial = rig.f->Picture1.serial();
  EXPECT_EQ(rig.run(Motion{}.steps(11)), RunEnd::EndOfData);
  EXPECT_EQ(rig.f->Picture1.serial(), serial);
  EXPECT_EQ(rig.f->cnt, 11);
  EXPECT_EQ(rig.run(Motion{}.steps(12)), RunEnd::EndOfData);
  EXPECT_EQ(rig.f->Picture1.serial(), serial + 1);
  // The run's start resets the marker and row counters and puts Picture2 in DrawMode 16.
  EXPECT_EQ(rig.f->marker_x, 200);
  EXPECT_EQ(rig.f->Picture2.DrawMode, kDrawWhiteness);
}

TEST(Decoding, MarkerHeldOverSeveralRecordsGivesOneEvent) {
  Rig rig;
  Motion m;
  m.marker = [](long n) { return (n >= 20 && n < 25) || (n >= 40 && n < 42); };
  rig.run(m.steps(60));
  EXPECT_EQ(rig.f->poincare_cnt, 2);
  // The stored point is 1.5 x the window-centre count of the event's pass.
  EXPECT_EQ(rig.f->poincare_points.at(1, 1), cint(1.5 * (2000 + 10 * 17)));
}

TEST(Decoding, MarkerStateCarriesIntoTheNextRun) {
  Rig rig;
  Motion on;
  on.marker = [](long) { return true; };
  rig.run(on.steps(20));
  EXPECT_EQ(rig.f->poincare_cnt, 1);  // the rising edge at the first record
  EXPECT_EQ(rig.f->POIN_prev, 16);
  // Still active when the next run starts: no event.
  rig.run(on.steps(20));
  EXPECT_EQ(rig.f->poincare_cnt, 0);
  // Inactive at the end, then active at the first record of the next run: an event.
  Motion off;
  rig.run(off.steps(5));
  EXPECT_EQ(rig.f->POIN_prev, 0);
  rig.run(on.steps(20));
  EXPECT_EQ(rig.f->poincare_cnt, 1);
}

TEST(Decoding, ExtremeVelocitySaturatesThePlotCoordinates) {
  // Time counts 32001, 32000 x 6: single-precision Sxx makes den = -1, so V is about
  // -5e8 and 10 V lies far outside 32 bits.
  for (bool marker : {false, true}) {
    Rig rig;
    std::vector<Step> steps;
    for (int i = 0; i < 12; ++i) steps.push_back({BoxRead::Ok, make_record(1000, false, 32000, 0)});
    steps.push_back({BoxRead::Ok, make_record(3000, marker, 32001, 0)});
    EXPECT_EQ(rig.run(steps), RunEnd::EndOfData);
    EXPECT_LT((zero_velocity_y(rig.f->Picture2) - rig.f->poincare_y) / 10, -1e8);
    EXPECT_LT(rig.f->velocity, -1e8);
    EXPECT_EQ(rig.f->phase_y, INT32_MAX);  // a negative velocity lies far below the plot
    EXPECT_EQ(rig.f->orbit_points.at(rig.f->cnt, 2), 0);  // out of the stored range
    if (marker) {
      EXPECT_EQ(rig.f->marker_y, INT32_MAX);
    }
  }
}

TEST(Decoding, VelocityOutsideTheStoredRangeIsPlottedAndWrittenButNotStored) {
  Rig rig;
  const test::TempDir dir;
  const std::string path = dir.file("fast.pha");
  ASSERT_TRUE(open_save_file(*rig.f, path, 1000, "PHASE"));
  rig.f->saving = kTrue;
  rig.f->saving_orbit = kTrue;
  rig.f->number_of_points = 1000;
  Motion m;
  m.rate = 50;
  m.ticks = 800;  // V = 40000 x 50 / 800 = 2500
  m.marker = [](long n) { return n == 15; };
  rig.run(m.steps(20));
  terminate_file(*rig.f);
  EXPECT_NEAR(rig.f->velocity, 2500, 1e-2);
  EXPECT_EQ(rig.f->orbit_points.at(20, 2), 0);
  EXPECT_EQ(rig.f->poincare_cnt, 0);
  const std::string text = test::read_file(path);
  const auto last_line = text.substr(text.rfind("\r\n", text.size() - 3) + 2);
  double t, phase, omega;
  ASSERT_EQ(std::sscanf(last_line.c_str(), "%lf %lf %lf", &t, &phase, &omega), 3);
  EXPECT_NEAR(omega, 2500 * 0.1569673, 0.01);
}

TEST(Decoding, RevolutionsAreCountedFromTheSecondSampleAndPersistBetweenRuns) {
  Rig rig;
  rig.run(records({make_record(100, false, 0, 5), make_record(100, false, 8000, 5)}));
  EXPECT_EQ(rig.f->initial_rollover, 5);
  EXPECT_EQ(rig.f->rollover_prev, 0);
  // The first pass of the next run still counts from the previous run's sample.
  rig.run(records({make_record(100, false, 0, 10)}));
  EXPECT_EQ(rig.f->rollover_prev, 5);
  rig.run(records({make_record(100, false, 0, 10), make_record(100, false, 8000, 10)}));
  EXPECT_EQ(rig.f->initial_rollover, 10);
  EXPECT_EQ(rig.f->rollover_prev, 0);
}

TEST(Decoding, RevolutionFieldWithHighByteAbove127) {
  Rig rig;
  // Field 0x9000 = 36864: 4864 revolutions (16-bit arithmetic would overflow).
  SampleRecord a = make_record(100, false, 0, 0), b = make_record(100, false, 8000, 0);
  a[4] = b[4] = 0x90;
  a[5] = b[5] = 0x00;
  rig.run(records({make_record(100, false, 0, 0), a}));  // captures 4864 at pass 2
  EXPECT_EQ(rig.f->initial_rollover, 4864);
  rig.run(records({make_record(100, false, 0, 0)}));
  EXPECT_EQ(rig.f->rollover_prev, -4864);
}

TEST(Decoding, RowCounterAlternatesAtTheTop) {
  Rig rig;
  Motion m;
  m.rate = 1;
  rig.run(m.steps(1000000));
  EXPECT_EQ(rig.f->cnt, 1000000);
  rig.box->pos = 0;
  rig.box->steps = m.steps(1000001);
  get_data(*rig.f);
  EXPECT_EQ(rig.f->cnt, 999999);
  rig.box->pos = 0;
  rig.box->steps.push_back({BoxRead::Ok, m.at(1000001)});
  get_data(*rig.f);
  EXPECT_EQ(rig.f->cnt, 1000000);
}

// Presses the button at `x`, `y` at the given poll (each pass polls HALT, then Clear) and
// releases it `hold` polls later.
void press_at(ScriptedPointer& p, long at, int x, int y, long hold) {
  p.on_query = [=](ScriptedPointer& ptr, long q) {
    if (q == at) {
      ptr.pos = {x, y};
      ptr.press();
    } else if (q == at + hold) {
      ptr.release();
      ptr.pos = {};
    }
  };
}

// Pass 21 presses over Clear; the press counts at pass 22 (after its fresh report) and
// resets the row counter. Without a recording the warm-up restarts and the phase plot is
// wiped; while saving the plot stays and every line is written.
TEST(Decoding, ClearRestartsThePlotUnlessARecordingRuns) {
  for (bool saving : {false, true}) {
    Rig rig;
    setup_phase_plot(*rig.f);
    const test::TempDir dir;
    if (saving) {
      ASSERT_TRUE(open_save_file(*rig.f, dir.file("c.pha"), 1000, "PHASE"));
      rig.f->saving = rig.f->saving_orbit = kTrue;
      rig.f->number_of_points = 1000;
    }
    press_at(rig.s.pointer, 40, 400, 720, 4);
    EXPECT_EQ(rig.run(Motion{}.steps(30)), RunEnd::EndOfData);
    EXPECT_EQ(rig.f->cnt, 8);
    ScriptedServices s2;
    Form1 fresh(s2.services());
    setup_phase_plot(fresh);
    const int n = fresh.Picture1.pixel_width() * fresh.Picture1.pixel_height();
    EXPECT_EQ(
        std::equal(fresh.Picture1.pixels(), fresh.Picture1.pixels() + n, rig.f->Picture1.pixels()),
        !saving);
    if (!saving) continue;
    OutputFile* out = rig.f->files.output(rig.f->save_file_number);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->lines(), 2 + 24);  // no restart of the warm-up: lines from pass 7 to 30
    discard_save_file(*rig.f);
  }
}

TEST(Decoding, TransientFailureRepeatsThePreviousRecord) {
  Rig rig;
  auto steps = Motion{}.steps(15);
  steps.insert(steps.begin() + 13, Step{BoxRead::Failed, {}});
  rig.run(steps);
  EXPECT_EQ(rig.f->cnt, 16);  // the failed read still made a pass
  // Newest first: records 14 and 13, then record 12 twice.
  EXPECT_EQ(rig.f->angle_window[3], 2120);
  EXPECT_EQ(rig.f->angle_window[4], 2120);
  EXPECT_EQ(rig.f->angle_window[5], 2110);
}

TEST(Decoding, NoBoxEndsTheRunWithAMessage) {
  ScriptedServices s;
  Form1 f(s.services());
  WindowRunControl run(f);
  EXPECT_EQ(COLLECT_DATA(f, run), RunEnd::BoxGone);
  EXPECT_TRUE(f.ui[Ctl::Text58].visible);
  EXPECT_NE(f.ui[Ctl::Text58].text.find("No interface box"), std::string::npos);
}

TEST(Decoding, NoPrintRowKeepsAColumnOneValueOfAnEarlierRun) {
  // Warm-up passes, the passes of Poincare events and the last row all get the value the
  // phase plot stores, so a printout shows no stray dots from an earlier run.
  Rig rig;
  for (int i = 0; i <= 200; ++i) rig.f->orbit_points.at(i, 1) = 7777;
  Motion m;
  m.marker = [](long n) { return n == 20 || n == 33; };
  rig.run(m.steps(60));
  ASSERT_EQ(rig.f->cnt, 60);
  for (int i = 1; i <= rig.f->cnt; ++i) EXPECT_NE(rig.f->orbit_points.at(i, 1), 7777) << i;
  EXPECT_EQ(rig.f->orbit_points.at(61, 1), 7777);  // rows beyond the run are not touched
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// The engine called directly with a scripted run control: HALT and Clear are asked once
// per pass, HALT first; Clear empties the row count.
TEST(DecodingRunControl, HaltAndClearComeFromTheRunControl) {
  Rig rig;
  ScriptedRunControl run;
  run.halt_at = 20;
  run.clear_at = {15};
  rig.box->steps = Motion{}.steps(100);
  EXPECT_EQ(get_data(*rig.f, run), RunEnd::Halted);
  EXPECT_EQ(run.halt_polls, 20);
  EXPECT_EQ(run.clear_polls, 20);
  EXPECT_EQ(rig.f->cnt, 5);  // passes 16 to 20 after the Clear of pass 15
  EXPECT_EQ(rig.box->pos, 20u);
}

}  // namespace
}  // namespace kv
