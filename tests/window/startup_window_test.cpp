// Start-up and shutdown of the shown window: the connection report and its questions (their
// texts are checked in tests/commands), the panel that follows, and "Exit program".
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "tests/window/window_test_support.h"

namespace kv::test {
namespace {

TEST(StartupWindow, WithoutBoxAnsweringNoKeepsRunningWithAcquisitionDisabled) {
  Rig r;
  ASSERT_TRUE(r.start_unconnected(false));
  ASSERT_EQ(r.dialogs.count("yesno"), 1);
  EXPECT_FALSE(r.f.exit_requested);
  // The panel is up; the acquisition buttons are shown but do not react.
  for (Ctl c : {Ctl::Text10, Ctl::Text13, Ctl::Text14}) {
    EXPECT_TRUE(r.widget(c)->isVisible()) << control_name(c);
    EXPECT_FALSE(r.widget(c)->isEnabled()) << control_name(c);
  }
  for (Ctl c : {Ctl::Text8, Ctl::Text15, Ctl::Text16, Ctl::Text17, Ctl::Text9, Ctl::help})
    EXPECT_TRUE(r.widget(c)->isEnabled() && r.widget(c)->isVisible()) << control_name(c);
  // The start-up screen is gone; the picture for working without the box is shown.
  for (Ctl c : {Ctl::Text1, Ctl::Text2, Ctl::Text58, Ctl::Picture4})
    EXPECT_FALSE(r.widget(c)->isVisible()) << control_name(c);
  EXPECT_TRUE(r.widget(Ctl::Picture5)->isVisible());
  EXPECT_FALSE(r.widget(Ctl::Picture3)->isVisible());
  // A click on the disabled "Plot data" starts nothing.
  QTest::mouseClick(r.widget(Ctl::Text10), Qt::LeftButton);
  EXPECT_EQ(r.f.ui[Ctl::Text10].back_color, kGrey);
}

TEST(StartupWindow, WithoutBoxAnsweringYesEndsBeforeThePanel) {
  Rig r;
  EXPECT_FALSE(r.start_unconnected(true));
  EXPECT_TRUE(r.f.exit_requested);
  EXPECT_FALSE(r.widget(Ctl::Frame2)->isVisible());
  EXPECT_FALSE(r.widget(Ctl::Frame4)->isVisible());
}

TEST(StartupWindow, WithBoxReportsConnectedAndEnablesAcquisition) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  ASSERT_EQ(r.dialogs.count("message"), 1);
  EXPECT_EQ(r.dialogs.count("yesno"), 0);
  for (Ctl c : {Ctl::Frame2, Ctl::Text10, Ctl::Text13, Ctl::Text14})
    EXPECT_TRUE(r.widget(c)->isEnabled() && r.widget(c)->isVisible()) << control_name(c);
  EXPECT_TRUE(r.widget(Ctl::Picture3)->isVisible());
  EXPECT_FALSE(r.widget(Ctl::Picture5)->isVisible());
  // HALT is shown, grey and disabled until a run starts; "plot and save Poincare data"
  // is never on the screen.
  EXPECT_TRUE(r.widget(Ctl::Text18)->isVisible());
  EXPECT_FALSE(r.widget(Ctl::Text18)->isEnabled());
  EXPECT_EQ(r.shown_back(Ctl::Text18), kGrey);
  EXPECT_FALSE(r.widget(Ctl::Command6)->isVisible());
}

TEST(StartupWindow, StatusTextSitsUnderTheNoticeThenClearOfThePlots) {
  Rig r(false, QSize(1024, 768));
  QWidget* status = r.widget(Ctl::Text58);
  const QRect notice = r.widget(Ctl::Text2)->geometry();
  EXPECT_GE(status->geometry().top(), notice.bottom());
  EXPECT_LT(std::abs(status->geometry().center().x() - notice.center().x()), 20);
  ASSERT_TRUE(r.start_connected());
  // A command reports in the status text while every plot is up.
  r.f.show_status("The interface box (test box) sent nothing for 2 seconds: the run was stopped.");
  for (Ctl c : {Ctl::Picture1, Ctl::Picture2, Ctl::Image2, Ctl::Label3, Ctl::Frame10})
    r.f.ui.set_visible(c, true);
  r.w.sync();
  ASSERT_TRUE(status->isVisible());
  for (Ctl c : {Ctl::Picture1, Ctl::Picture2, Ctl::Image2, Ctl::Label3, Ctl::Frame10})
    EXPECT_FALSE(status->geometry().intersects(r.widget(c)->geometry())) << control_name(c);
}

// "Exit program" and closing the window end the program the same way.
TEST(StartupWindow, ExitProgramOrClosingTheWindowClosesTheBoxAndEndsTheProgram) {
  for (bool by_button : {true, false}) {
    Rig r;
    ASSERT_TRUE(r.start_connected());
    QSignalSpy ended(&r.w, &MainWindow::program_ended);
    if (by_button)
      QTest::mouseClick(r.widget(Ctl::Text12), Qt::LeftButton);
    else
      r.w.close();
    EXPECT_TRUE(r.box_closed);
    EXPECT_TRUE(r.f.exit_requested);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(r.w.isVisible());
    EXPECT_EQ(r.help.calls.back(), "quit");
  }
}

}  // namespace
}  // namespace kv::test
