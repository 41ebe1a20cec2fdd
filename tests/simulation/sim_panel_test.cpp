#include <gtest/gtest.h>

#include <random>

#include "sim_support.h"

using namespace kv;
using namespace kv::test;

TEST(SimPanel, SimulationOpensThePanelOverThePlotArea) {
  for (bool running : {false, true}) {
    SimForm t;
    Command1_Click(t.f);
    t.f.ui.set_visible(Ctl::Picture1, true);
    t.f.Picture1.Line(0, 0, 3000, 3000, kRed);
    t.f.plot_flag = running ? kTrue : kFalse;
    t.s.help.calls.clear();
    Text9_Click(t.f);
    EXPECT_EQ(t.s.help.calls, std::vector<std::string>{"quit"});
    EXPECT_TRUE(t.f.ui[Ctl::Frame21].visible);
    EXPECT_TRUE(t.f.ui[Ctl::Picture5].visible);
    for (Ctl c :
         {Ctl::Frame9, Ctl::Frame10, Ctl::Image2, Ctl::Picture3, Ctl::Picture2, Ctl::Label2})
      EXPECT_FALSE(t.f.ui[c].visible);
    // While a run's clicks are still arriving the phase plot is left alone.
    EXPECT_EQ(t.f.ui[Ctl::Picture1].visible, running);
    EXPECT_EQ(t.f.Picture1.pixel(100, 100) == kRed, running);
  }
}

TEST(SimPanel, CheckBoxesKeepOneSpeedAndAtMostOneSaveKind) {
  SimForm t;
  t.click(Ctl::Check1);  // "Real time" was checked: now "Computer time" is
  EXPECT_FALSE(t.f.ui[Ctl::Check1].checked);
  EXPECT_TRUE(t.f.ui[Ctl::Check2].checked);
  t.click(Ctl::Check3);
  t.click(Ctl::Check4);
  EXPECT_FALSE(t.f.ui[Ctl::Check3].checked);
  EXPECT_TRUE(t.f.ui[Ctl::Check4].checked);
  t.click(Ctl::Check4);  // unchecking leaves the other alone
  EXPECT_FALSE(t.f.ui[Ctl::Check3].checked);
  EXPECT_FALSE(t.f.ui[Ctl::Check4].checked);

  std::mt19937 rng(7);
  const Ctl boxes[] = {Ctl::Check1, Ctl::Check2, Ctl::Check3, Ctl::Check4};
  for (int i = 0; i < 500; ++i) {
    t.click(boxes[rng() % 4]);
    ASSERT_NE(t.f.ui[Ctl::Check1].checked, t.f.ui[Ctl::Check2].checked);
    ASSERT_FALSE(t.f.ui[Ctl::Check3].checked && t.f.ui[Ctl::Check4].checked);
  }
}

TEST(SimPanel, CancelHidesThePanelAndKeepsTheEditedTexts) {
  SimForm t;
  t.f.ui.set_text(Ctl::Text26, "0.5");
  Command1_Click(t.f);
  EXPECT_FALSE(t.f.ui[Ctl::Frame21].visible);
  Text9_Click(t.f);
  EXPECT_TRUE(t.f.ui[Ctl::Frame21].visible);
  EXPECT_EQ(t.f.ui[Ctl::Text26].text, "0.5");
  EXPECT_EQ(t.f.inertia, 9.876E-06);  // read only by "Continue"
}

TEST(SimPanel, UndefinedParametersAreRefusedNamingTheBox) {
  struct Case {
    Ctl box;
    const char* text;
    const char* caption;
  } cases[] = {
      {Ctl::Text27, "0", "\"mgr=\""},
      {Ctl::Text27, "-1", "\"mgr=\""},
      {Ctl::Text26, "abc", "\"Inertia=\""},
      {Ctl::Text26, "1e999", "\"Inertia=\""},
      {Ctl::Text21, "0", "\"Damping=\""},
      {Ctl::Text22, "1e400", "\"Drive amplitude=\""},
      {Ctl::Text23, "-1e309", "\"Drive frequency=\""},
      {Ctl::Text25, "1e9", "\"Initial velocity=\""},
      // A tiny mgr makes the natural frequency, not the velocity, unusable.
      {Ctl::Text27, "1e-300", "\"mgr=\" and \"Inertia=\" give a natural frequency"},
      // Underflow reads as 0, which mgr may not be; it is not "too large".
      {Ctl::Text27, "1e-400", "\"mgr=\" must be a number greater than 0"},
  };
  for (const Case& c : cases) {
    SimForm t;
    t.f.ui.set_text(c.box, c.text);
    t.save(Ctl::Check3, "10", "never.pha");
    ASSERT_EQ(t.messages(), 1) << c.text;
    EXPECT_NE(t.last_message().find(c.caption), std::string::npos) << t.last_message();
    EXPECT_EQ(t.s.dialogs.count("input"), 0);
    EXPECT_TRUE(t.f.ui[Ctl::Frame21].visible);  // the panel stays open for a correction
    EXPECT_FALSE(t.f.ui[Ctl::Text18].enabled);
    EXPECT_EQ(t.f.mgr, 0.000798);
    EXPECT_EQ(t.f.plot_flag, kFalse);
  }
}

TEST(SimPanel, EmptyBoxesKeepTheStoredValues) {
  SimForm t;
  t.f.ui.set_text(Ctl::Text22, "");  // the start-up drive torque, 0.000585, stays
  t.f.ui.set_text(Ctl::Text25, "");  // the start-up 1.0 is taken as dimensionless
  t.halt_after(1);
  Command21_Click(t.f);
  EXPECT_NEAR(t.f.drive_amplitude, 0.73308, 1e-5);
  EXPECT_EQ(t.f.initial_velocity, 1.0);
  t.f.ui.set_text(Ctl::Text25, "2");
  t.halt_after(1);
  Command21_Click(t.f);
  EXPECT_EQ(t.f.initial_velocity, 2 / t.f.omega0);
  t.f.ui.set_text(Ctl::Text25, "");
  t.halt_after(1);
  Command21_Click(t.f);
  EXPECT_EQ(t.f.initial_velocity, 2 / t.f.omega0);
  EXPECT_EQ(t.messages(), 0);
}
