#include <gtest/gtest.h>

#include "app/commands/commands.h"
#include "app/state/form1.h"
#include "tests/support/scripted_services.h"

using namespace kv;

namespace {
class FakeBox : public InterfaceBox {
 public:
  bool* closed;
  explicit FakeBox(bool* c) : closed(c) {}
  BoxRead read(SampleRecord&, int) override { return BoxRead::Timeout; }
  void close() override { *closed = true; }
  std::string name() const override { return "fake box"; }
};
}  // namespace

TEST(Startup, ConnectedBoxEnablesAcquisitionAndShowsThePanel) {
  ScriptedServices s;
  Form1 f(s.services());
  bool closed = false;
  ASSERT_TRUE(Form_Load(f, std::make_unique<FakeBox>(&closed)));
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].kind, "message");
  EXPECT_EQ(s.dialogs.shown[0].text, "continue");
  EXPECT_EQ(s.dialogs.shown[0].title, "Chaotic pendulum");
  EXPECT_EQ(f.ui[Ctl::Text58].text, "Interface connected");
  EXPECT_EQ(f.ui[Ctl::Text58].fore_color, kGreen);
  for (Ctl c : {Ctl::Frame2, Ctl::Text10, Ctl::Text13, Ctl::Text14}) {
    EXPECT_TRUE(f.ui[c].enabled) << control_name(c);
    EXPECT_TRUE(f.ui[c].visible) << control_name(c);
  }
  EXPECT_TRUE(f.ui[Ctl::Picture3].visible);
  EXPECT_FALSE(f.ui[Ctl::Picture5].visible);
  for (Ctl c : {Ctl::Text1, Ctl::Text2, Ctl::Text58, Ctl::Picture4})
    EXPECT_FALSE(f.ui[c].visible) << control_name(c);
  EXPECT_TRUE(f.ui[Ctl::Frame4].visible);
  EXPECT_TRUE(f.ui[Ctl::Frame3].visible);
  // HALT stays disabled and grey until a run starts.
  EXPECT_FALSE(f.ui[Ctl::Text18].enabled);
  EXPECT_EQ(f.ui[Ctl::Text18].back_color, kGrey);
  EXPECT_EQ(f.POIN_prev, 0);
  EXPECT_GE(f.device_handle, 1);
  Text12_Click(f);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(f.exit_requested);
}

TEST(Startup, NoBoxAnswerNoKeepsRunningWithoutAcquisition) {
  ScriptedServices s;
  s.dialogs.yes_no_answers = {false};
  Form1 f(s.services());
  ASSERT_TRUE(Form_Load(f, nullptr));
  ASSERT_EQ(s.dialogs.count("yesno"), 1);
  EXPECT_EQ(s.dialogs.shown[0].text, "Exit the program?");
  EXPECT_EQ(s.dialogs.shown[0].title, "Exit");
  EXPECT_EQ(f.ui[Ctl::Text58].text, "interface not connected");
  EXPECT_EQ(f.ui[Ctl::Text58].fore_color, kRed);
  for (Ctl c : {Ctl::Frame2, Ctl::Text10, Ctl::Text13, Ctl::Text14})
    EXPECT_FALSE(f.ui[c].enabled) << control_name(c);
  for (Ctl c : {Ctl::Text8, Ctl::Text15, Ctl::Text17, Ctl::Text9, Ctl::Text16})
    EXPECT_TRUE(f.ui[c].enabled) << control_name(c);
  EXPECT_FALSE(f.ui[Ctl::Picture3].visible);
  EXPECT_TRUE(f.ui[Ctl::Picture5].visible);
  EXPECT_FALSE(f.exit_requested);
  Text12_Click(f);  // closing without a device is harmless
  EXPECT_TRUE(f.exit_requested);
}

TEST(Startup, NoBoxTellsWhyInTheFirstQuestionAndTheStatusText) {
  ScriptedServices s;
  s.dialogs.yes_no_answers = {false};
  Form1 f(s.services());
  const std::string why = "no permission to open the interface box 0547:2131: see Help";
  ASSERT_TRUE(Form_Load(f, nullptr, why));
  // The question already says why; the reason stays above the plots afterwards.
  EXPECT_EQ(s.dialogs.shown[0].text, why + "\n\nExit the program?");
  EXPECT_EQ(f.ui[Ctl::Text58].text, why);
  EXPECT_TRUE(f.ui[Ctl::Text58].visible);
  EXPECT_EQ(f.ui[Ctl::Text58].fore_color, kRed);
}

TEST(Startup, NoBoxAnswerYesEndsBeforeThePanelIsShown) {
  ScriptedServices s;
  s.dialogs.yes_no_answers = {true};
  Form1 f(s.services());
  EXPECT_FALSE(Form_Load(f, nullptr));
  EXPECT_TRUE(f.exit_requested);
  EXPECT_FALSE(f.ui[Ctl::Frame4].visible);
  EXPECT_FALSE(f.ui[Ctl::Frame2].visible);
}

TEST(Startup, DefaultPendulumParameters) {
  ScriptedServices s;
  s.dialogs.yes_no_answers = {false};
  Form1 f(s.services());
  Form_Load(f, nullptr);
  EXPECT_NEAR(f.omega0, 8.98899, 5e-6);
  EXPECT_NEAR(f.q_factor, 5.0003, 5e-5);
  EXPECT_NEAR(f.drive_amplitude, 0.73308, 5e-6);
  EXPECT_NEAR(f.drive_frequency, 0.64656, 5e-6);
  EXPECT_EQ(f.initial_velocity, 1.0);
  EXPECT_EQ(f.initial_angle, 1.0);
  EXPECT_EQ(f.drive_torque, 0.000585);
}

TEST(Startup, TimerTickClearsThePlotFlag) {
  ScriptedServices s;
  Form1 f(s.services());
  f.plot_flag = kTrue;
  Timer1_Timer(f);
  EXPECT_EQ(f.plot_flag, kFalse);
}
