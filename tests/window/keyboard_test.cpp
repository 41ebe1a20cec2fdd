// The window's keys: F1 Help, Ctrl+O Plot file, Ctrl+P Print, Ctrl+Q Exit program run the
// same handlers as the clicks, only while no command runs (held back and delivered after
// one), and never for a button the user could not click.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <ostream>

#include "tests/window/window_test_support.h"

namespace kv::test {
namespace {

struct KeyCase {
  const char* name;
  Qt::Key key;
  Qt::KeyboardModifiers mods;
  Ctl button;
};

const KeyCase kKeys[] = {
    {"F1", Qt::Key_F1, Qt::NoModifier, Ctl::help},
    {"CtrlO", Qt::Key_O, Qt::ControlModifier, Ctl::Text8},
    {"CtrlP", Qt::Key_P, Qt::ControlModifier, Ctl::Text16},
    {"CtrlQ", Qt::Key_Q, Qt::ControlModifier, Ctl::Text12},
};

// What a handler left behind that a test can see: the dialogs, the help viewer's calls,
// whether the program is ending.
struct Trace {
  std::vector<std::string> dialogs;
  std::vector<std::string> help;
  bool exit = false;
  bool operator==(const Trace&) const = default;
};
void PrintTo(const Trace& t, std::ostream* os) {
  *os << "dialogs{";
  for (const auto& d : t.dialogs) *os << d << "; ";
  *os << "} help{";
  for (const auto& h : t.help) *os << h << "; ";
  *os << "} exit=" << t.exit;
}
Trace trace(Rig& r) {
  Trace t;
  for (const auto& s : r.dialogs.shown) t.dialogs.push_back(s.kind + ":" + s.text);
  t.help = r.help.calls;
  t.exit = r.f.exit_requested;
  return t;
}

// Starts the window with a box and forgets what the start-up showed.
bool started(Rig& r) {
  const bool up = r.start_connected();
  r.help.calls.clear();
  r.dialogs.shown.clear();
  return up;
}

void press(Rig& r, const KeyCase& k) {
  QTest::keyClick(r.w.windowHandle(), k.key, k.mods);
}

void PrintTo(const KeyCase& k, std::ostream* os) {
  *os << k.name;
}

class Shortcut : public ::testing::TestWithParam<KeyCase> {};

TEST_P(Shortcut, RunsTheHandlerOfItsButtonAtRest) {
  const KeyCase& k = GetParam();
  Trace by_click, by_key;
  {
    Rig r;
    ASSERT_TRUE(started(r));
    QMetaObject::invokeMethod(r.widget(k.button), "clicked");
    by_click = trace(r);
  }
  {
    Rig r;
    ASSERT_TRUE(started(r));
    QSignalSpy ended(&r.w, &MainWindow::program_ended);
    press(r, k);
    by_key = trace(r);
    if (k.button == Ctl::Text12) {
      EXPECT_EQ(ended.count(), 1);
      EXPECT_TRUE(r.box_closed);
      EXPECT_FALSE(r.w.isVisible());
    }
  }
  EXPECT_EQ(by_key, by_click);
  // The handler did something visible, so the comparison above means something.
  EXPECT_FALSE(by_key == Trace{});
}

TEST_P(Shortcut, PressedDuringACommandRunsAfterIt) {
  const KeyCase& k = GetParam();
  Rig r;
  ASSERT_TRUE(started(r));
  std::size_t held = 0;
  Trace during;
  r.w.run_command([&] {
    press(r, k);
    r.qt.pump.repaint();
    held = r.qt.pump.held_count();
    during = trace(r);
  });
  EXPECT_EQ(during, Trace{});
  EXPECT_GE(held, 2u);  // the key's press and release (and the Ctrl key's)
  ASSERT_TRUE(QTest::qWaitFor([&] { return !(trace(r) == Trace{}); }, 2000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.qt.pump.held_count() == 0; }, 2000));
  // Delivered once: the same as one press at rest.
  Rig rest;
  ASSERT_TRUE(started(rest));
  press(rest, k);
  EXPECT_EQ(trace(r), trace(rest));
}

TEST_P(Shortcut, DoesNothingForADisabledOrHiddenButton) {
  const KeyCase& k = GetParam();
  Rig r;
  ASSERT_TRUE(started(r));
  r.f.ui.set_enabled(k.button, false);
  r.w.sync();
  press(r, k);
  EXPECT_EQ(trace(r), Trace{});
  r.f.ui.set_enabled(k.button, true);
  r.f.ui.set_visible(k.button, false);
  r.w.sync();
  press(r, k);
  EXPECT_EQ(trace(r), Trace{});
  EXPECT_TRUE(r.w.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Keys, Shortcut, ::testing::ValuesIn(kKeys),
                         [](const ::testing::TestParamInfo<KeyCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(Keyboard, OtherModifiersAndAutoRepeatAreNotShortcuts) {
  Rig r;
  ASSERT_TRUE(started(r));
  QTest::keyClick(r.w.windowHandle(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(r.w.windowHandle(), Qt::Key_Q, Qt::AltModifier);
  QTest::keyClick(r.w.windowHandle(), Qt::Key_P);
  QTest::keyClick(r.w.windowHandle(), Qt::Key_F1, Qt::ControlModifier);
  QTest::keyClick(r.w.windowHandle(), Qt::Key_Escape);
  EXPECT_EQ(trace(r), Trace{});
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier, QString(), true);
  QCoreApplication::sendEvent(&r.w, &repeat);
  EXPECT_EQ(trace(r), Trace{});
}

TEST(Keyboard, KeysReachTheWindowFromATextBoxWithTheFocus) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  r.f.ui.set_visible(Ctl::Frame21, true);  // the simulation panel with its text boxes
  r.w.sync();
  auto* box = qobject_cast<QLineEdit*>(r.widget(Ctl::Text27));
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(box->isVisible());
  r.w.activateWindow();
  box->setFocus();
  r.help.calls.clear();
  r.dialogs.shown.clear();
  QTest::keyClick(r.w.windowHandle(), Qt::Key_F1);
  EXPECT_EQ(r.help.calls, (std::vector<std::string>{"open " + r.f.help_file}));
  // Typing still goes into the box.
  QTest::keyClick(r.w.windowHandle(), Qt::Key_7);
  EXPECT_TRUE(box->text().endsWith(QLatin1Char('7'))) << box->text().toStdString();
}

}  // namespace
}  // namespace kv::test
