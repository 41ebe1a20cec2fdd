// kestavor-cli decode and record: the files are the bytes the window's commands write.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "acquisition/replay_box.h"
#include "app/commands/recording.h"
#include "app/commands/startup.h"
#include "app/state/form1.h"
#include "tests/acquisition/scripted_box.h"
#include "tests/support/files.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

using test::read_file;
using test::run_cli;

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    test::Motion m;
    m.rate = 7;
    m.marker = [](long n) { return n % 37 < 3; };
    raw = m.raw(2000);
    dir.write("session.raw", raw);
  }

  // The file the window's command writes from the same records, after start-up.
  std::string window_file(bool orbit, const std::string& count) {
    ScriptedServices s;
    auto f = std::make_unique<Form1>(s.services());
    Form_Load(*f, std::make_unique<ReplayBox>(raw, "session"));
    s.dialogs.input_answers = {count};
    const std::string p = dir.file(orbit ? "window.pha" : "window.poi");
    s.dialogs.save_answers = {p};
    if (orbit) {
      save_orbit(*f);
    } else {
      save_poincare(*f);
    }
    return read_file(p);
  }

  test::TempDir dir;
  std::string raw;
};

TEST_F(Cli, DecodeWritesTheWindowsOrbitAndPoincareFiles) {
  const std::string records = dir.file("session.raw");
  test::CliRun r = run_cli("decode " + records + " --orbit 500 -o " + dir.file("cli.pha"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_file(dir.file("cli.pha")), window_file(true, "500"));
  r = run_cli("decode " + records + " --poincare 20 -o " + dir.file("cli.poi"));
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string poi = read_file(dir.file("cli.poi"));
  EXPECT_EQ(poi, window_file(false, "20"));
  EXPECT_EQ(poi.substr(0, 14), " 20 \r\nPOINCARE");
}

TEST_F(Cli, DecodeKeepsTheLinesWhenTheRecordsRunOut) {
  const std::string records = dir.file("session.raw");
  test::CliRun r = run_cli("decode " + records + " --orbit 100000 -o " + dir.file("all.pha"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("ran out after 1994 data lines"), std::string::npos) << r.err;
  EXPECT_EQ(read_file(dir.file("all.pha")), window_file(true, "100000"));
}

TEST_F(Cli, RecordFromTheDemoBoxKeepsRawRecordsThatDecodeToTheSameFile) {
  test::CliRun r = run_cli("record --box demo --orbit 150 -o " + dir.file("live.pha") + " --raw " +
                           dir.file("live.raw"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_file(dir.file("live.raw")).size(), 6u * (4 + 151));
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
