// The control table (app/state/control_table.h) as its users read it: the controls model
// starts from the rows, and every parameter row's option is one that kestavor-cli simulate
// accepts and applies to that row's box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "app/state/control_table.h"
#include "app/state/form1.h"
#include "tests/support/scripted_services.h"

using namespace kv;

namespace {

std::string read_file(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

#ifdef KV_CLI_PATH
// Runs kestavor-cli with `args`; its exit status, with standard output and error in `out`.
int run_cli(const std::string& args, std::string& out) {
  const auto log =
      std::filesystem::temp_directory_path() /
      ("kestavor_controls_" +
       std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log");
  const std::string cmd = std::string(KV_CLI_PATH) + " " + args + " >" + log.string() + " 2>&1";
  const int status = std::system(cmd.c_str());
  out = read_file(log);
  return WEXITSTATUS(status);
}
#endif

}  // namespace

TEST(ControlTable, TheControlsStartAsTheTableSays) {
  ScriptedServices s;
  Form1 f(Services{s.dialogs, s.pointer, s.manual_clock, s.help, s.pump, s.timer1});
  for (const ControlRow& r : kControlTable) {
    const ControlProps& p = f.ui[r.ctl];
    EXPECT_EQ(p.text, r.text) << control_name(r.ctl);
    EXPECT_EQ(p.tooltip, r.tip) << control_name(r.ctl);
    EXPECT_EQ(p.visible, r.visible) << control_name(r.ctl);
    EXPECT_EQ(p.back_color, r.back) << control_name(r.ctl);
    EXPECT_EQ(p.fore_color, r.fore) << control_name(r.ctl);
    EXPECT_EQ(p.checked, r.checked) << control_name(r.ctl);
    EXPECT_EQ(p.value, r.value) << control_name(r.ctl);
    EXPECT_TRUE(p.enabled) << control_name(r.ctl);
  }
}

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

#ifdef KV_CLI_PATH
// A value no parameter can take, given in the "--option=value" form: the refusal names the
// box the option filled, so each option reaches its own row, and nothing is saved.
TEST(ControlTable, KestavorCliSimulateAcceptsEveryParameterOptionForItsRow) {
  const auto out = std::filesystem::temp_directory_path() / "kestavor_controls_refused.pha";
  std::filesystem::remove(out);
  for (const ControlRow& r : kControlTable) {
    if (!is_parameter_row(r)) continue;
    std::string said;
    EXPECT_EQ(
        run_cli("simulate " + std::string(r.box->option) + "=1e999 --orbit 10 -o " + out.string(),
                said),
        1)
        << r.box->option << ": " << said;
    EXPECT_NE(said.find("\"" + std::string(r.box->caption) + "\""), std::string::npos) << said;
    EXPECT_NE(said.find("\"1e999\""), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(out)) << r.box->option;
  }
}
#endif
