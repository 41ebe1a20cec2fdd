// The interface box backends' records: the demo box, the replay box, the raw-record
// keeping box, and the --box choice.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <stdexcept>

#include "acquisition/recording_box.h"
#include "acquisition/replay_box.h"
#include "acquisition/sample_record.h"
#include "platform/text_files.h"
#include "simulation/box_choice.h"
#include "simulation/demo_box.h"
#include "tests/acquisition/scripted_box.h"
#include "tests/support/data_files.h"

namespace kv {
namespace {

TEST(DemoBox, RecordsFollowThePendulumAndTheBoxClock) {
  DemoBox box(false);
  SampleRecord r{};
  ASSERT_EQ(box.read(r, 100), BoxRead::Ok);
  // Start-up state: 1 rad from the bottom, where count 0 lies (file phase -pi, the rest
  // position of the simulation).
  EXPECT_EQ(record_angle(r), static_cast<int>(std::floor(4000 / (2 * M_PI))));
  EXPECT_EQ(record_time(r), 0);
  EXPECT_EQ(record_revolution_field(r), 32000);
  EXPECT_NE(record_marker(r), 0);  // a drive cycle starts with the run

  std::int32_t prev_time = record_time(r);
  std::vector<long> marker_starts;
  int marker_run = 1, longest_run = 1;
  bool prev_marker = true;
  long turns = 0;
  std::int32_t prev_angle = record_angle(r), prev_field = record_revolution_field(r);
  for (long n = 1; n < 5000; ++n) {
    ASSERT_EQ(box.read(r, 100), BoxRead::Ok);
    EXPECT_EQ(r[0] & 0xE0, 0);  // unused bits stay clear
    const std::int32_t angle = record_angle(r);
    ASSERT_GE(angle, 0);
    ASSERT_LE(angle, 3999);
    EXPECT_EQ((record_time(r) - prev_time + 65536) % 65536, 8000);  // 2 ms of 4 MHz
    prev_time = record_time(r);
    // The revolution field steps exactly when the count wraps between 3999 and 0.
    const std::int32_t field = record_revolution_field(r);
    if (field != prev_field) {
      ++turns;
      EXPECT_EQ(std::abs(field - prev_field), 1);
      EXPECT_GT(std::abs(angle - prev_angle), 2000) << "sample " << n;
    } else {
      EXPECT_LT(std::abs(angle - prev_angle), 2000) << "sample " << n;
    }
    prev_angle = angle;
    prev_field = field;
    const bool marker = record_marker(r) != 0;
    if (marker && !prev_marker) {
      marker_starts.push_back(n);
      marker_run = 1;
    } else if (marker) {
      longest_run = std::max(longest_run, ++marker_run);
    }
    prev_marker = marker;
  }
  // One marker per drive cycle (2 pi / 5.8119 s = about 540.5 records), a few records long.
  ASSERT_GE(marker_starts.size(), 8u);
  for (std::size_t i = 1; i < marker_starts.size(); ++i) {
    const long gap = marker_starts[i] - marker_starts[i - 1];
    EXPECT_TRUE(gap == 540 || gap == 541) << gap;
  }
  EXPECT_EQ(longest_run, DemoBox::kMarkerRecords);
  EXPECT_GT(turns, 0);  // with the start-up drive the pendulum goes over the top
  box.close();
  EXPECT_EQ(box.read(r, 100), BoxRead::Gone);
}

TEST(DemoBox, PacedBoxDeliversOneRecordPer2Ms) {
  DemoBox box(true);
  SampleRecord r{};
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 26; ++i) ASSERT_EQ(box.read(r, 100), BoxRead::Ok);
  // Record n is due at n x 2 ms after the first.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
}

TEST(ReplayBox, ReadsMemoryAFileOrAPipeInOrderAndIgnoresAPartialTail) {
  // 5000 records (more than one chunk of a pipe) and a partial tail, from memory, from a
  // mapped file and from a pipe: the same records, and the tail noticed at the end, where
  // the last record is left as it was.
  test::Motion m;
  const std::string data = m.raw(5000) + std::string("\x01\x02", 2);
  const test::TempDir dir;
  std::vector<std::string> sources = {"", dir.write("r.raw", data)};
#ifndef _WIN32  // a pipe named through /proc
  test::PipeFeeder feeder(data);
  sources.push_back(feeder.path());
#endif
  for (const std::string& source : sources) {
    std::string error;
    auto box = source.empty() ? std::make_unique<ReplayBox>(data, "memory")
                              : ReplayBox::open(source, error);
    ASSERT_NE(box, nullptr) << error;
    SampleRecord r{};
    for (long n = 0; n < 5000; ++n) {
      ASSERT_EQ(box->read(r, 0), BoxRead::Ok) << source << " record " << n;
      ASSERT_EQ(r, m.at(n)) << source << " record " << n;
    }
    EXPECT_EQ(box->read(r, 0), BoxRead::EndOfData);
    EXPECT_EQ(box->read(r, 0), BoxRead::EndOfData);
    EXPECT_EQ(r, m.at(4999));
    EXPECT_TRUE(box->has_partial_record()) << source;
    EXPECT_EQ(box->position(), 5000u);
  }
}

TEST(RecordingBox, KeepsEveryRecordReceivedForAReplay) {
  const test::TempDir dir;
  const std::string raw = dir.file("session.raw");
  auto inner = std::make_unique<test::ScriptedBox>();
  test::Motion m;
  inner->steps = m.steps(5);
  inner->steps.insert(inner->steps.begin() + 2, test::Step{BoxRead::Failed, {}});
  RecordingBox box(std::move(inner), raw);
  ASSERT_TRUE(box.start());
  SampleRecord r{};
  while (box.read(r, 10) != BoxRead::EndOfData) {
  }
  ASSERT_TRUE(box.finish());
  EXPECT_EQ(test::read_file(raw), m.raw(5));
  EXPECT_EQ(box.records(), 5);
}

TEST(BoxChoice, NamesAndJunk) {
  using Status = BoxOpening::Status;
  BoxOpening demo = open_box("demo");
  ASSERT_NE(demo.box, nullptr);
  EXPECT_EQ(demo.status, Status::opened);
  EXPECT_EQ(demo.box->name(), "demo box");
  EXPECT_GE(demo.box->handle(), 1);
  BoxOpening missing = open_box("replay:/no/such.raw");
  EXPECT_EQ(missing.box, nullptr);
  EXPECT_EQ(missing.status, Status::not_opened);
  EXPECT_NE(missing.reason.find("/no/such.raw"), std::string::npos);
  for (const char* junk : {"bogus", "replay:", "usb:", "usb:0547", "usb:zz:2131", "usb:12345:1",
                           "usb:0547:2131:9", "demo2", "USB"}) {
    BoxOpening o = open_box(junk);
    EXPECT_EQ(o.status, Status::unknown_choice) << junk;
    EXPECT_EQ(o.box, nullptr) << junk;
    EXPECT_NE(o.reason.find(junk), std::string::npos) << o.reason;
  }
  EXPECT_NE(open_box("usb:0547:xyz").reason.find("\"xyz\" is not"), std::string::npos);
  // The file a replay reads, which no output may name.
  EXPECT_EQ(box_input_file("replay:a:b.raw"), "a:b.raw");
  EXPECT_EQ(box_input_file("usb:0547:2131"), "");
}

}  // namespace
}  // namespace kv
