// kestavor-cli decode and record: records that run out, the raw records a recording keeps,
// and SIGTERM and SIGHUP acting as HALT. (That they write the window's bytes is checked in
// tests/faces, their refusals in tests/cli.)
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

// SIGTERM acts as HALT: the recording stops, is not kept (an older file of that name
// survives) and the exit status is 128 + 15.
TEST_F(Cli, RecordStoppedBySigtermOrSighupKeepsTheOlderFileAndLeavesNothingBehind) {
  for (const auto& [name, status] : {std::pair{"TERM", 143}, std::pair{"HUP", 129}}) {
    const fs::path folder = dir.path() / name;
    fs::create_directories(folder);
    const fs::path out = folder / "stopped.pha";
    const fs::path err_file = dir.path() / (std::string(name) + "-stderr.txt");
    test::write_file(out, "older\n");
    const std::string cmd = "sh -c '\"" + std::string(KV_CLI_PATH) +
                            "\" record --box demo --orbit 100000 -o \"" + out.string() + "\" 2>\"" +
                            err_file.string() + "\" & p=$!; sleep 2; kill -" + name +
                            " $p; wait $p'";
    const int rc = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(rc)) << name;
    EXPECT_EQ(WEXITSTATUS(rc), status) << name;
    EXPECT_NE(read_file(err_file).find("interrupted"), std::string::npos) << read_file(err_file);
    EXPECT_EQ(read_file(out), "older\n") << name;
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << name;
  }
}

}  // namespace
}  // namespace kv
