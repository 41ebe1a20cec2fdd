// kestavor-cli simulate writes the bytes the window's "Continue" writes.
#include <gtest/gtest.h>

#include "sim_support.h"
#include "tests/support/files.h"

using namespace kv;
using namespace kv::test;

namespace {

int simulate(const std::string& args) {
  const CliRun r = run_cli("simulate " + args);
  EXPECT_EQ(r.err, "") << args;
  return r.status;
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
    ASSERT_EQ(simulate(std::string(orbit ? "--orbit 3000" : "--poincare 20") +
                       " --drive-amplitude 0.0006 --drive-phase 0.3 --time-out 1 -o " +
                       cli_file.string()),
              0);
    const std::string expected = read_file(window_file);
    EXPECT_EQ(lines_of(expected).size(), orbit ? 3002u : 22u);
    EXPECT_EQ(read_file(cli_file), expected);
  }
}

// Every option takes its value as "--option value" or "--option=value".
TEST(CliSimulate, OptionValuesMayBeJoinedWithAnEqualsSign) {
  const auto dir = temp_folder("cli_equals");
  const std::string spaced = (dir / "spaced.pha").string();
  const std::string joined = (dir / "joined.pha").string();
  ASSERT_EQ(simulate("--orbit 200 --drive-amplitude 0.0006 --time-out 1 -o " + spaced), 0);
  ASSERT_EQ(simulate("--orbit=200 --drive-amplitude=0.0006 --time-out=1 -o " + joined), 0);
  EXPECT_EQ(lines_of(read_file(joined)).size(), 202u);
  EXPECT_EQ(read_file(joined), read_file(spaced));
}
