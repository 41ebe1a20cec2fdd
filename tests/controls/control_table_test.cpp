// The control table (app/state/control_table.h) as its users read it: every parameter row's
// option is one that kestavor-cli simulate accepts and applies to that row's box.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "app/state/control_table.h"
#include "tests/support/files.h"

using namespace kv;

TEST(ControlTable, ParameterRowsHoldEachBoxOfTheParameterSetOnceWithTheirOwnOption) {
  std::set<std::string_view> options;
  std::set<const PanelBox*> boxes;
  PanelTexts filled;
  int rows = 0;
  for (const ControlRow& r : kControlTable) {
    if (!is_parameter_row(r)) {
      EXPECT_EQ(r.box, nullptr) << control_name(r.ctl);
      continue;
    }
    ++rows;
    ASSERT_NE(r.box, nullptr) << control_name(r.ctl);
    EXPECT_FALSE(r.box->caption.empty()) << control_name(r.ctl);
    EXPECT_FALSE(r.box->unit.empty()) << control_name(r.ctl);
    EXPECT_TRUE(boxes.insert(r.box).second) << control_name(r.ctl) << " repeats a box";
    filled.*(r.box->text) = std::string(control_name(r.ctl));
    EXPECT_EQ(r.box->option.rfind("--", 0), 0u) << r.box->option;
    EXPECT_TRUE(options.insert(r.box->option).second) << r.box->option << " twice";
    EXPECT_EQ(r.click, nullptr) << control_name(r.ctl);  // a box is typed into, not clicked
  }
  // Every text of the parameter set is some row's.
  for (const std::string* text :
       {&filled.mgr, &filled.inertia, &filled.damping, &filled.drive_amplitude,
        &filled.drive_frequency, &filled.drive_phase, &filled.initial_angle,
        &filled.initial_velocity, &filled.time_out})
    EXPECT_FALSE(text->empty());
  EXPECT_EQ(rows, 9);
}

#if defined(KV_CLI_PATH) && !defined(_WIN32)
// A value no parameter can take, given in the "--option=value" form: the refusal names the
// box the option filled, so each option reaches its own row, and nothing is saved.
TEST(ControlTable, KestavorCliSimulateAcceptsEveryParameterOptionForItsRow) {
  const test::TempDir dir;
  const std::string out = dir.file("refused.pha");
  for (const ControlRow& r : kControlTable) {
    if (!is_parameter_row(r)) continue;
    const test::CliRun run =
        test::run_cli("simulate " + std::string(r.box->option) + "=1e999 --orbit 10 -o " + out);
    const std::string said = run.out + run.err;
    EXPECT_EQ(run.status, 1) << r.box->option << ": " << said;
    EXPECT_NE(said.find("\"" + std::string(r.box->caption) + "\""), std::string::npos) << said;
    EXPECT_NE(said.find("\"1e999\""), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(out)) << r.box->option;
  }
}
#endif
