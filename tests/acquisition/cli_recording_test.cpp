// kestavor-cli decode and record: records that run out and the raw records a recording
// keeps. (That they write the window's bytes is checked in tests/faces, their refusals and
// SIGTERM and SIGHUP acting as HALT in tests/cli.)
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/acquisition/scripted_box.h"
#include "tests/support/files.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

using test::lines_of;
using test::read_file;
using test::run_cli;

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    test::Motion m;
    m.rate = 7;
    m.marker = [](long n) { return n % 37 < 3; };
    dir.write("session.raw", m.raw(2000));
  }

  test::TempDir dir;
};

TEST_F(Cli, DecodeKeepsTheLinesWhenTheRecordsRunOut) {
  const std::string records = dir.file("session.raw");
  test::CliRun r = run_cli("decode " + records + " --orbit 100000 -o " + dir.file("all.pha"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("ran out after 1994 data lines"), std::string::npos) << r.err;
  EXPECT_EQ(lines_of(read_file(dir.file("all.pha"))).size(), 2u + 1994u);
}

TEST_F(Cli, RecordFromTheDemoBoxKeepsRawRecordsThatDecodeToTheSameFile) {
  test::CliRun r = run_cli("record --box demo --orbit 150 -o " + dir.file("live.pha") + " --raw " +
                           dir.file("live.raw"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_file(dir.file("live.raw")).size(), 6u * (6 + 151));
  r = run_cli("decode " + dir.file("live.raw") + " --orbit 150 -o " + dir.file("again.pha"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_file(dir.file("again.pha")), read_file(dir.file("live.pha")));
}

}  // namespace
}  // namespace kv
