// The pointer and the event pump while a command runs: presses on the scaled HALT and
// Clear buttons in design pixels, the key-state rule, Escape, input held back and
// delivered after the command (before the next Timer1 tick), and the bounded pump rate.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <chrono>

#include "app/commands/window_run_control.h"
#include "app/window/design_canvas.h"
#include "app/window/layout.h"
#include "tests/window/window_test_support.h"

namespace kv::test {
namespace {

bool inside(const PixelBox& b, DesignPoint p) {
  return b.contains(p.x, p.y);
}

TEST(HaltGeometry, PanelButtonsLieOnTheHaltAndClearBoxes) {
  // In the 1024 x 768 layout the buttons' pixel rectangles and the polled boxes agree to
  // within the buttons' borders.
  for (auto [c, box] : {std::pair{Ctl::Text18, kHaltBox}, std::pair{Ctl::Text7, kClearBox}}) {
    const layout::TwipRect t = layout::absolute(c);
    const int left = t.left / layout::kTwips, top = t.top / layout::kTwips;
    const int right = (t.left + t.width) / layout::kTwips - 1;
    const int bottom = (t.top + t.height) / layout::kTwips - 1;
    EXPECT_LE(left, box.left) << control_name(c);
    EXPECT_GE(right, box.right) << control_name(c);
    EXPECT_LE(std::abs(left - box.left), 2);
    EXPECT_LE(std::abs(right - box.right), 2);
    EXPECT_LE(std::abs(top - box.top), 1);
    EXPECT_LE(std::abs(bottom - box.bottom), 1);
  }
}

// Presses the left button at a widget's centre through the window (as the window system
// delivers it) and lets the pump see it.
void press_on(Rig& r, QWidget* w) {
  QTest::mousePress(r.w.windowHandle(), Qt::LeftButton, Qt::NoModifier, r.centre_in_window(w));
  r.qt.pump.repaint();
}
void release_on(Rig& r, QWidget* w) {
  QTest::mouseRelease(r.w.windowHandle(), Qt::LeftButton, Qt::NoModifier, r.centre_in_window(w));
  r.qt.pump.repaint();
}

class ScaledWindow : public ::testing::TestWithParam<QSize> {};

TEST_P(ScaledWindow, PressOnHaltIsSeenInDesignPixelsAfterTheFreshPress) {
  Rig r(false, GetParam());
  ASSERT_TRUE(r.start_connected());
  ASSERT_EQ(r.w.size(), GetParam());
  QWidget* halt = r.widget(Ctl::Text18);
  QWidget* clear = r.widget(Ctl::Text7);
  bool first = true, second = false, after_release = true;
  DesignPoint at_halt{}, at_clear{};
  r.w.run_command([&] {
    r.f.ui.set_enabled(Ctl::Text18, true);
    press_on(r, halt);
    at_halt = r.qt.pump.cursor_pos();
    first = halt_button(r.f);   // the fresh press is not yet a press
    second = halt_button(r.f);  // held: now it is
    release_on(r, halt);
    after_release = halt_button(r.f);
    QTest::mouseMove(r.w.windowHandle(), r.centre_in_window(clear));
    r.qt.pump.repaint();
    at_clear = r.qt.pump.cursor_pos();
  });
  EXPECT_TRUE(inside(kHaltBox, at_halt)) << at_halt.x << "," << at_halt.y;
  EXPECT_TRUE(inside(kClearBox, at_clear)) << at_clear.x << "," << at_clear.y;
  EXPECT_FALSE(first);
  EXPECT_TRUE(second);
  EXPECT_FALSE(after_release);
  // The scaled button's corners map onto the design rectangle of the button.
  const QRect g(halt->mapTo(r.w.canvas(), QPoint(0, 0)), halt->size());
  const DesignPoint tl = r.w.canvas()->to_design(QPointF(g.topLeft()) + QPointF(0.5, 0.5));
  const DesignPoint br = r.w.canvas()->to_design(QPointF(g.bottomRight()) + QPointF(0.5, 0.5));
  EXPECT_EQ(tl.x, 288);
  EXPECT_EQ(tl.y, 711);
  EXPECT_NEAR(br.x, 360, 1);
  EXPECT_NEAR(br.y, 734, 1);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScaledWindow,
                         ::testing::Values(QSize(1024, 768), QSize(1536, 1152), QSize(1400, 900),
                                           QSize(800, 700)),
                         [](const ::testing::TestParamInfo<QSize>& info) {
                           return std::to_string(info.param.width()) + "x" +
                                  std::to_string(info.param.height());
                         });

TEST(InputPump, KeyStateReportsAFreshPressOnceAndATapBetweenQueriesAsNotHeld) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  QWidget* halt = r.widget(Ctl::Text18);
  std::vector<int> states;
  r.w.run_command([&] {
    states.push_back(r.qt.pump.async_left_button());  // up
    press_on(r, halt);
    states.push_back(r.qt.pump.async_left_button());  // freshly pressed
    states.push_back(r.qt.pump.async_left_button());  // down, already seen
    release_on(r, halt);
    states.push_back(r.qt.pump.async_left_button());  // up
    press_on(r, halt);
    release_on(r, halt);                              // a tap between two queries
    states.push_back(r.qt.pump.async_left_button());  // up, pressed since: never -32768
    states.push_back(r.qt.pump.async_left_button());
  });
  EXPECT_EQ(states, (std::vector<int>{0, -32767, -32768, 0, 1, 0}));
}

TEST(InputPump, ClickDuringACommandReachesItsHandlerAfterwardsBeforeTheTimerTick) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  Surface& p = r.f.Picture1;
  p.DrawMode = kDrawBlackness;
  p.PSet(1000, 1000);
  const int dx = p.to_px(1000), dy = p.to_py(1000);
  r.help.calls.clear();
  QWidget* clear = r.widget(Ctl::Text7);
  std::size_t held_during = 0;
  r.w.run_command([&] {
    r.f.plot_flag = kTrue;  // as a file plot or a simulation leaves it
    press_on(r, clear);
    release_on(r, clear);
    // Let several Timer1 intervals pass inside the command, pumping as a run does.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(350);
    while (std::chrono::steady_clock::now() < end) r.qt.pump.pump_if_due();
    // End without pumping for longer than a tick, so the tick is overdue when the held
    // click is delivered.
    const auto quiet = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
    while (std::chrono::steady_clock::now() < quiet) {
    }
    held_during = r.qt.pump.held_count();
    EXPECT_TRUE(r.help.calls.empty()) << "the click ran inside the command";
    EXPECT_EQ(r.f.plot_flag, kTrue) << "Timer1 ticked inside the command";
  });
  EXPECT_EQ(held_during, 2u);
  // Delivered after the command with plot_flag still set: Clear only closed the help.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !r.help.calls.empty(); }, 2000));
  EXPECT_EQ(r.help.calls, (std::vector<std::string>{"quit"}));
  EXPECT_EQ(p.pixel(dx, dy), 0x000000u);
  // Then the tick clears the flag, and the next Clear click clears the plot.
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.f.plot_flag == kFalse; }, 2000));
  QTest::mouseClick(clear, Qt::LeftButton);
  EXPECT_EQ(p.pixel(dx, dy), p.BackColor);
}

TEST(InputPump, AClearThePollActedOnIsNotDeliveredAgainButOtherClicksAre) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  Surface& p = r.f.Picture1;
  p.DrawMode = kDrawBlackness;
  p.PSet(1000, 1000);
  r.help.calls.clear();
  QWidget* clear = r.widget(Ctl::Text7);
  bool seen = false;
  std::size_t held = 0;
  r.w.run_command([&] {
    press_on(r, clear);
    clear_button(r.f);         // the fresh press
    seen = clear_button(r.f);  // held: the command restarts its plot
    release_on(r, clear);
    QTest::mouseClick(r.w.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      r.centre_in_window(r.widget(Ctl::help)));
    r.qt.pump.repaint();
    held = r.qt.pump.held_count();
  });
  EXPECT_TRUE(seen);
  EXPECT_EQ(held, 2u) << "only the Help click waits";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !r.qt.pump.replaying(); }, 2000));
  EXPECT_FALSE(r.help.calls.empty()) << "the Help click made during the run was delivered";
  EXPECT_EQ(p.pixel(p.to_px(1000), p.to_py(1000)), 0x000000u) << "Clear was carried out twice";
}

TEST(InputPump, EscapeDuringACommandIsAHaltAndIsNotReplayed) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  bool halted = false, again = true;
  r.w.run_command([&] {
    QTest::keyPress(r.w.windowHandle(), Qt::Key_Escape);
    QTest::keyRelease(r.w.windowHandle(), Qt::Key_Escape);
    r.qt.pump.repaint();
    halted = halt_button(r.f);
    again = halt_button(r.f);
  });
  EXPECT_TRUE(halted);
  EXPECT_FALSE(again);
  EXPECT_EQ(r.qt.pump.held_count(), 0u);
  // Outside a command Escape is not a HALT request.
  QTest::keyClick(r.w.windowHandle(), Qt::Key_Escape);
  EXPECT_FALSE(r.qt.pump.take_escape());
}

TEST(InputPump, ClosingTheWindowDuringACommandEndsTheProgramAfterIt) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  QSignalSpy ended(&r.w, &MainWindow::program_ended);
  r.w.run_command([&] {
    // The window system's close request arrives through the queue.
    QCoreApplication::postEvent(r.w.windowHandle(), new QCloseEvent);
    r.qt.pump.repaint();
    EXPECT_TRUE(r.w.isVisible());
    EXPECT_FALSE(r.box_closed);
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 2000));
  EXPECT_TRUE(r.box_closed);
  EXPECT_FALSE(r.w.isVisible());
}

TEST(InputPump, PointerMovesInsideACommandAreRecordedButHighlightNothing) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  DesignPoint seen{};
  r.w.run_command([&] {
    QTest::mouseMove(r.w.windowHandle(), r.centre_in_window(Ctl::Text13));
    r.qt.pump.repaint();
    seen = r.qt.pump.cursor_pos();
  });
  const layout::TwipRect t = layout::absolute(Ctl::Text13);
  EXPECT_GE(seen.x, t.left / 15);
  EXPECT_LE(seen.x, (t.left + t.width) / 15);
  EXPECT_EQ(r.f.ui[Ctl::Text13].back_color, kGrey);
}

TEST(InputPump, PumpProcessesEventsAtMostOncePerFrame) {
  app();
  QtInputPump pump(16);
  int runs = 0;
  pump.set_before_events([&] { ++runs; });
  pump.begin_hold();  // the pump is polled by a running command
  long calls = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
  while (std::chrono::steady_clock::now() < end) {
    pump.pump_if_due();
    ++calls;
  }
  pump.end_hold();
  EXPECT_GE(runs, 1);
  EXPECT_LE(runs, 100 / 16 + 2);
  EXPECT_GT(calls, 100 * runs);
}

}  // namespace
}  // namespace kv::test
