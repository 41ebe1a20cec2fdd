// kestavor-cli decode and record: the files are the bytes the window's commands write.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "acquisition/replay_box.h"
#include "app/commands/recording.h"
#include "app/commands/startup.h"
#include "app/state/form1.h"
#include "platform/text_files.h"
#include "tests/acquisition/scripted_box.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

struct CliRun {
  int status;
  std::string err;
};

CliRun run_cli(const std::string& args, const fs::path& dir) {
  const std::string err_file = (dir / "stderr.txt").string();
  const std::string cmd = std::string(KV_CLI) + " " + args + " 2>" + err_file;
  const int rc = std::system(cmd.c_str());
  std::string err, error;
  read_whole_file(err_file, err, error);
  fs::remove(err_file);
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, err};
}

std::string slurp(const fs::path& p) {
  std::string text, error;
  EXPECT_TRUE(read_whole_file(p.string(), text, error)) << error;
  return text;
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir =
        fs::temp_directory_path() /
        ("kv_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    test::Motion m;
    m.rate = 7;
    m.marker = [](long n) { return n % 37 < 3; };
    raw = m.raw(2000);
    OutputFile out;
    ASSERT_TRUE(out.open((dir / "session.raw").string()));
    out.write_raw(raw.data(), raw.size());
    ASSERT_TRUE(out.commit());
  }
  void TearDown() override { fs::remove_all(dir); }

  // The file the window's command writes from the same records, after start-up.
  std::string window_file(bool orbit, const std::string& count) {
    ScriptedServices s;
    auto f = std::make_unique<Form1>(s.services());
    Form_Load(*f, std::make_unique<ReplayBox>(raw, "session"));
    s.dialogs.input_answers = {count};
    const fs::path p = dir / (orbit ? "window.pha" : "window.poi");
    s.dialogs.save_answers = {p.string()};
    if (orbit) {
      save_orbit(*f);
    } else {
      save_poincare(*f);
    }
    return slurp(p);
  }

  fs::path dir;
  std::string raw;
};

TEST_F(Cli, DecodeWritesTheWindowsOrbitAndPoincareFiles) {
  const std::string records = (dir / "session.raw").string();
  CliRun r = run_cli("decode " + records + " --orbit 500 -o " + (dir / "cli.pha").string(), dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(slurp(dir / "cli.pha"), window_file(true, "500"));
  r = run_cli("decode " + records + " --poincare 20 -o " + (dir / "cli.poi").string(), dir);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string poi = slurp(dir / "cli.poi");
  EXPECT_EQ(poi, window_file(false, "20"));
  EXPECT_EQ(poi.substr(0, 14), " 20 \r\nPOINCARE");
}

TEST_F(Cli, DecodeKeepsTheLinesWhenTheRecordsRunOut) {
  const std::string records = (dir / "session.raw").string();
  CliRun r = run_cli("decode " + records + " --orbit 100000 -o " + (dir / "all.pha").string(), dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("ran out after 1994 data lines"), std::string::npos) << r.err;
  EXPECT_EQ(slurp(dir / "all.pha"), window_file(true, "100000"));
}

// A file that cannot be read or written, and a box that cannot be opened, are failures
// that name them. (The command line's own errors are in tests/cli.)
TEST_F(Cli, AFileOrABoxThatCannotBeOpenedIsAFailure) {
  CliRun r = run_cli(
      "decode " + (dir / "missing.raw").string() + " --orbit 5 -o " + (dir / "x.pha").string(),
      dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("missing.raw"), std::string::npos) << r.err;
  r = run_cli("decode " + (dir / "session.raw").string() + " --orbit 5 -o " +
                  (dir / "no/such/dir/x.pha").string(),
              dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("x.pha"), std::string::npos) << r.err;
  r = run_cli("record --box usb:1234:5678 --orbit 5 -o " + (dir / "x.pha").string(), dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("1234:5678"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir / "x.pha"));
}

TEST_F(Cli, RecordFromTheDemoBoxKeepsRawRecordsThatDecodeToTheSameFile) {
  CliRun r = run_cli("record --box demo --orbit 150 -o " + (dir / "live.pha").string() + " --raw " +
                         (dir / "live.raw").string(),
                     dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(slurp(dir / "live.raw").size(), 6u * (6 + 151));  // six records before the first line
  r = run_cli(
      "decode " + (dir / "live.raw").string() + " --orbit 150 -o " + (dir / "again.pha").string(),
      dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(slurp(dir / "again.pha"), slurp(dir / "live.pha"));
}

// SIGTERM acts as HALT: the recording stops, is not kept (an older file of that name
// survives) and the exit status is 128 + 15.
TEST_F(Cli, RecordStoppedBySigtermOrSighupKeepsTheOlderFileAndLeavesNothingBehind) {
  for (const auto& [name, status] : {std::pair{"TERM", 143}, std::pair{"HUP", 129}}) {
    const fs::path folder = dir / name;
    fs::create_directories(folder);
    const fs::path out = folder / "stopped.pha";
    const fs::path err_file = dir / (std::string(name) + "-stderr.txt");
    {
      std::FILE* old = std::fopen(out.string().c_str(), "w");
      ASSERT_NE(old, nullptr);
      std::fputs("older\n", old);
      std::fclose(old);
    }
    const std::string cmd = "sh -c '\"" + std::string(KV_CLI) +
                            "\" record --box demo --orbit 100000 -o \"" + out.string() + "\" 2>\"" +
                            err_file.string() + "\" & p=$!; sleep 2; kill -" + name +
                            " $p; wait $p'";
    const int rc = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(rc)) << name;
    EXPECT_EQ(WEXITSTATUS(rc), status) << name;
    EXPECT_NE(slurp(err_file).find("interrupted"), std::string::npos) << slurp(err_file);
    EXPECT_EQ(slurp(out), "older\n") << name;
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << name;
  }
}

TEST_F(Cli, ARecordStreamThatEndsBeforeTheFirstLineIsAFailureAndReplacesNothing) {
  const fs::path out = dir / "prev.pha";
  {
    OutputFile old;
    ASSERT_TRUE(old.open(out.string()));
    old.print_line("older");
    ASSERT_TRUE(old.commit());
  }
  // No record at all, a truncated record, and a single record (the first line needs more).
  const std::string streams[] = {std::string(), std::string(5, '\xff'), std::string(6, '\xff')};
  for (const std::string& bytes : streams) {
    OutputFile raw_file;
    ASSERT_TRUE(raw_file.open((dir / "short.raw").string()));
    raw_file.write_raw(bytes.data(), bytes.size());
    ASSERT_TRUE(raw_file.commit());
    const CliRun r =
        run_cli("decode " + (dir / "short.raw").string() + " --orbit 100 -o " + out.string(), dir);
    EXPECT_EQ(r.status, 1) << bytes.size() << r.err;
    EXPECT_NE(r.err.find("was not written"), std::string::npos) << r.err;
    EXPECT_EQ(slurp(out), "older\r\n");
  }
}

TEST_F(Cli, AnOutputNamingAnInputIsRefusedBeforeAnythingIsRead) {
  const fs::path records = dir / "session.raw";
  const std::string before = slurp(records);
  CliRun r = run_cli("decode " + records.string() + " --orbit 10 -o " + records.string(), dir);
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("names the records file"), std::string::npos) << r.err;
  r = run_cli("record --box replay:" + records.string() + " --orbit 10 -o " +
                  (dir / "x.pha").string() + " --raw " + records.string(),
              dir);
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("names the replayed file"), std::string::npos) << r.err;
  EXPECT_EQ(slurp(records), before);
  EXPECT_FALSE(fs::exists(dir / "x.pha"));
}

}  // namespace
}  // namespace kv
