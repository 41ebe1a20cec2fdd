#include <gtest/gtest.h>

#include <map>

#include "app/commands/commands.h"
#include "app/state/form1.h"
#include "tests/support/scripted_services.h"

using namespace kv;

namespace {
const Ctl kButtons[] = {Ctl::Text10, Ctl::Text13, Ctl::Text14, Ctl::Text18, Ctl::Text7,
                        Ctl::Text11, Ctl::Text12, Ctl::Text8,  Ctl::Text15, Ctl::Text16,
                        Ctl::Text17, Ctl::Text9,  Ctl::help};

// Paints every button with a marker colour, moves over `c` and returns what changed.
std::map<Ctl, std::uint32_t> after_move(Ctl c) {
  ScriptedServices s;
  Form1 f(s.services());
  const std::uint32_t marker = 0x123456;
  for (Ctl b : kButtons) f.ui.set_back(b, marker);
  mouse_move(f, c);
  std::map<Ctl, std::uint32_t> changed;
  for (Ctl b : kButtons)
    if (f.ui[b].back_color != marker) changed[b] = f.ui[b].back_color;
  return changed;
}
}  // namespace

TEST(Panel, EachButtonLightsItselfAndGreysItsNeighboursOnly) {
  using M = std::map<Ctl, std::uint32_t>;
  EXPECT_EQ(after_move(Ctl::Text10), (M{{Ctl::Text10, kWhite}, {Ctl::Text13, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Text13),
            (M{{Ctl::Text13, kWhite}, {Ctl::Text14, kGrey}, {Ctl::Text10, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Text14), (M{{Ctl::Text14, kWhite}, {Ctl::Text13, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Text18), (M{{Ctl::Text7, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Text7),
            (M{{Ctl::Text7, kWhite}, {Ctl::Text11, kGrey}, {Ctl::Text12, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Text11),
            (M{{Ctl::Text11, kWhite}, {Ctl::Text7, kGrey}, {Ctl::Text12, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Text12), (M{{Ctl::Text12, kWhite}, {Ctl::Text11, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Text8), (M{{Ctl::Text8, kWhite}, {Ctl::Text15, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Text15),
            (M{{Ctl::Text15, kWhite}, {Ctl::Text8, kGrey}, {Ctl::Text16, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Text16),
            (M{{Ctl::Text16, kWhite}, {Ctl::Text15, kGrey}, {Ctl::Text17, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Text17),
            (M{{Ctl::Text17, kWhite}, {Ctl::Text16, kGrey}, {Ctl::Text9, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Text9),
            (M{{Ctl::Text9, kWhite}, {Ctl::Text17, kGrey}, {Ctl::help, kGrey}}));
  EXPECT_EQ(after_move(Ctl::help), (M{{Ctl::help, kWhite}, {Ctl::Text9, kGrey}}));
  EXPECT_EQ(after_move(Ctl::Picture1), (M{{Ctl::Text15, kGrey}}));
  M left_seven;
  for (Ctl c :
       {Ctl::Text10, Ctl::Text13, Ctl::Text14, Ctl::Text18, Ctl::Text7, Ctl::Text11, Ctl::Text12})
    left_seven[c] = kGrey;
  EXPECT_EQ(after_move(Ctl::Frame8), left_seven);
  EXPECT_EQ(after_move(Ctl::Frame12), left_seven);
}

TEST(Panel, SequencesOfMoves) {
  ScriptedServices s;
  Form1 f(s.services());
  mouse_move(f, Ctl::Text13);
  mouse_move(f, Ctl::Text14);
  EXPECT_EQ(f.ui[Ctl::Text14].back_color, kWhite);
  EXPECT_EQ(f.ui[Ctl::Text13].back_color, kGrey);
  mouse_move(f, Ctl::Text7);
  mouse_move(f, Ctl::Text11);
  mouse_move(f, Ctl::Text12);
  EXPECT_EQ(f.ui[Ctl::Text12].back_color, kWhite);
  EXPECT_EQ(f.ui[Ctl::Text7].back_color, kGrey);
  EXPECT_EQ(f.ui[Ctl::Text11].back_color, kGrey);
  mouse_move(f, Ctl::Text18);  // resting on HALT never lights it and closes help
  EXPECT_EQ(f.ui[Ctl::Text18].back_color, kGrey);
  EXPECT_EQ(s.help.calls.back(), "quit");
  Form_MouseMove(f);
  for (Ctl b : kButtons) EXPECT_EQ(f.ui[b].back_color, kGrey) << control_name(b);
  Text57_MouseMove(f);
  EXPECT_EQ(f.ui[Ctl::Text7].back_color, kGrey);
}

// The hover help as written, odd spelling included; the window shows these texts as the
// widgets' tooltips (PanelWindow.EveryWidgetShowsItsControlsHoverHelp).
TEST(Panel, HoverHelpTextsAreExact) {
  Controls ui;
  const std::pair<Ctl, const char*> tips[] = {
      {Ctl::Text10, "Acquires phase and Poincare data and plots to the screen"},
      {Ctl::Text13, "Saves phase plane data from the pendulum to a file"},
      {Ctl::Text14, "Saves Poincare data from the pendulum to a file"},
      {Ctl::Text7, "Clears the phase plane or FFT plot"},
      {Ctl::Text11, "Sets the horizontal scale of the phase plane plot"},
      {Ctl::Text12, "Exits the program and retutns to desktop"},
      {Ctl::Text8, "Plots either phase plane or Poincare or fft data from a file"},
      {Ctl::Text15,
       "Calculates the FFT or the average of several FFT's from a Phase plane data file"},
      {Ctl::Text16,
       "Prints either the phase plane plot and Poincare plot or the power spectra to the "
       "printer"},
      {Ctl::Text17, "Calculate the capacity dimension from a file of Poincare data."},
      {Ctl::Text9, "A numerical simulation that uses fourth order Runge Kutta integration"},
      {Ctl::List1, "Select one of these fft windows"},
      {Ctl::label26, "These pendulum parameters may be changed"},
  };
  for (const auto& [c, tip] : tips) EXPECT_EQ(ui[c].tooltip, tip) << control_name(c);
  EXPECT_TRUE(ui[Ctl::Text18].tooltip.empty());
  EXPECT_TRUE(ui[Ctl::help].tooltip.empty());
  int with_help = 0;
  for (Ctl b : kButtons) with_help += !ui[b].tooltip.empty();
  EXPECT_EQ(with_help, 11);
}

TEST(Panel, HelpOpensAndEveryMainCommandClosesIt) {
  ScriptedServices s;
  Form1 f(s.services());
  help_Click(f);
  EXPECT_EQ(s.help.calls.back(), "open pendulum_help.hlp");
  Form_Click(f);
  EXPECT_EQ(s.help.calls.back(), "quit");
  help_Click(f);
  Text17_Click(f);  // even a command this version lacks closes the viewer first
  EXPECT_EQ(s.help.calls.back(), "quit");
}

TEST(Panel, ClearRedrawsThePhaseAxesUnlessAPlotIsRunning) {
  ScriptedServices s;
  Form1 f(s.services());
  f.Picture1.DrawMode = kDrawBlackness;
  f.Picture1.PSet(1000, 1000);
  f.ui.set_visible(Ctl::Frame12, true);
  f.ui.set_visible(Ctl::Image3, true);
  f.Picture2.DrawMode = kDrawBlackness;
  f.Picture2.PSet(1000, 1000);
  f.plot_flag = kTrue;
  Text7_Click(f);
  EXPECT_EQ(f.Picture1.pixel(66, 66), 0u);  // a late click during a plot only closes the help
  EXPECT_TRUE(f.ui[Ctl::Frame12].visible);
  EXPECT_EQ(s.help.calls.back(), "quit");
  f.plot_flag = kFalse;
  Text7_Click(f);
  EXPECT_EQ(f.Picture1.pixel(66, 66), kWindowBackground);
  EXPECT_EQ(f.Picture1.pixel(f.Picture1.to_px(3307), 10), kRed);  // zero-phase axis
  EXPECT_FALSE(f.ui[Ctl::Frame12].visible);
  EXPECT_FALSE(f.ui[Ctl::Frame13].visible);
  EXPECT_FALSE(f.ui[Ctl::Image3].visible);
  EXPECT_EQ(f.Picture2.pixel(66, 66), 0u);  // the Poincare plot is not touched
}
TEST(RangeControl, TextShowsRevolutionsAndOnlySetupAppliesTheRange) {
  ScriptedServices s;
  Form1 f(s.services());
  const int expected[] = {1, 3, 5, 9, 17, 33};
  for (int v = 0; v <= 5; ++v) {
    f.ui.set_value(Ctl::HScroll1, v);
    HScroll1_Change(f);
    EXPECT_EQ(f.ui[Ctl::Text3].text, std::to_string(expected[v]));
  }
  EXPECT_EQ(f.cycle_number, 0);  // unchanged until the next phase plot
  Text11_Click(f);
  EXPECT_TRUE(f.ui[Ctl::HScroll1].visible);
  EXPECT_TRUE(f.ui[Ctl::Text3].visible);
  EXPECT_EQ(s.help.calls.back(), "quit");
}
