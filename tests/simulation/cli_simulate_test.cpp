// kestavor-cli simulate writes the bytes the window's "Continue" writes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "sim_support.h"

using namespace kv;
using namespace kv::test;

namespace {

// Standard error of the last run, one file per test so that tests may run in parallel.
std::string err_path() {
  const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  return (std::filesystem::temp_directory_path() / ("kestavor_sim_" + test + ".err")).string();
}

int run_cli(const std::string& args) {
  const std::string cmd = std::string(KV_CLI_PATH) + " simulate " + args + " 2>" + err_path();
  return WEXITSTATUS(std::system(cmd.c_str()));
}

}  // namespace

TEST(CliSimulate, WritesTheSameBytesAsContinue) {
  const auto dir = temp_folder("cli");
  for (Ctl kind : {Ctl::Check3, Ctl::Check4}) {
    const bool orbit = kind == Ctl::Check3;
    SimForm t;
    t.computer_time();
    t.f.ui.set_text(Ctl::Text22, "0.0006");
    t.f.ui.set_text(Ctl::Text19, "0.3");
    t.f.ui.set_text(Ctl::Text69, "1");
    const auto window_file = dir / (orbit ? "window.pha" : "window.poi");
    t.save(kind, orbit ? "3000" : "20", window_file.string());
    const auto cli_file = dir / (orbit ? "cli.pha" : "cli.poi");
    ASSERT_EQ(
        run_cli(std::string(orbit ? "--orbit 3000" : "--poincare 20") +
                " --drive-amplitude 0.0006 --drive-phase 0.3 --time-out 1 -o " + cli_file.string()),
        0);
    const std::string expected = read_file(window_file);
    EXPECT_EQ(lines_of(expected).size(), orbit ? 3002u : 22u);
    EXPECT_EQ(read_file(cli_file), expected);
  }
}
