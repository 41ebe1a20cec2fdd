// The panel as the user meets it: highlighting under the pointer, hover help, Clear, the
// help viewer, and the controls that write back into the model (check boxes, text boxes,
// the range scroll bar).
#include <gtest/gtest.h>

#include <algorithm>

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include "app/window/design_canvas.h"
#include "app/window/layout.h"
#include "app/window/surface_view.h"
#include "app/window/text_control.h"
#include "platform/qt/qt_help_viewer.h"
#include "tests/window/window_test_support.h"

namespace kv::test {
namespace {

const Ctl kThirteen[] = {Ctl::Text10, Ctl::Text13, Ctl::Text14, Ctl::Text18, Ctl::Text7,
                         Ctl::Text11, Ctl::Text12, Ctl::Text8,  Ctl::Text15, Ctl::Text16,
                         Ctl::Text17, Ctl::Text9,  Ctl::help};

// Moves the pointer through the window, as the window system reports a move.
void move_over(Rig& r, QPoint at) {
  QTest::mouseMove(r.w.windowHandle(), at);
}
void move_over(Rig& r, Ctl c) {
  move_over(r, r.centre_in_window(c));
}

TEST(PanelWindow, HighlightFollowsThePointerInModelAndOnScreen) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  move_over(r, Ctl::Text13);
  EXPECT_EQ(r.f.ui[Ctl::Text13].back_color, kWhite);
  EXPECT_EQ(r.shown_back(Ctl::Text13), kWhite);
  move_over(r, Ctl::Text14);
  EXPECT_EQ(r.shown_back(Ctl::Text14), kWhite);
  EXPECT_EQ(r.shown_back(Ctl::Text13), kGrey);

  // "Set range" then "Exit program": Exit white, Set range and Clear grey.
  move_over(r, Ctl::Text7);
  EXPECT_EQ(r.shown_back(Ctl::Text7), kWhite);
  move_over(r, Ctl::Text11);
  move_over(r, Ctl::Text12);
  EXPECT_EQ(r.shown_back(Ctl::Text12), kWhite);
  EXPECT_EQ(r.shown_back(Ctl::Text11), kGrey);
  EXPECT_EQ(r.shown_back(Ctl::Text7), kGrey);

  // Off the panel onto the bare window: all thirteen grey (Text14 was left white).
  move_over(r, Ctl::help);
  ASSERT_EQ(r.shown_back(Ctl::help), kWhite);
  const QRect canvas_spot = r.w.canvas()->to_local({7200, 10100, 300, 300});
  move_over(r, canvas_spot.center());
  for (Ctl c : kThirteen) {
    EXPECT_EQ(r.f.ui[c].back_color, kGrey) << control_name(c);
    EXPECT_EQ(r.shown_back(c), kGrey) << control_name(c);
  }
}

TEST(PanelWindow, PointerOverThePhasePlotGreysFftOnly) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  move_over(r, Ctl::Text15);
  move_over(r, Ctl::Text16);  // FFT grey again, Print white
  move_over(r, Ctl::Text15);
  r.f.ui.set_visible(Ctl::Picture1, true);
  r.w.sync();
  move_over(r, Ctl::Picture1);
  EXPECT_EQ(r.shown_back(Ctl::Text15), kGrey);
  EXPECT_EQ(r.f.ui[Ctl::Text16].back_color, kGrey);

  // The spectrum's "(rad/s)" label greys Clear only; the frequency strip greys the seven
  // buttons on the left.
  r.f.ui.set_visible(Ctl::Frame12, true);
  r.w.sync();
  move_over(r, Ctl::Text12);
  move_over(r, Ctl::Text7);
  move_over(r, r.centre_in_window(r.w.fixed_text("Text57")));
  EXPECT_EQ(r.shown_back(Ctl::Text7), kGrey);
  move_over(r, Ctl::Text13);
  move_over(r, Ctl::Text8);
  const QRect strip = r.w.canvas()->to_local(layout::absolute(Ctl::Frame12));
  move_over(r, QPoint(strip.left() + 2, strip.bottom() - 1));
  EXPECT_EQ(r.shown_back(Ctl::Text13), kGrey);
  EXPECT_EQ(r.shown_back(Ctl::Text8), kWhite);
}

TEST(PanelWindow, EveryWidgetShowsItsControlsHoverHelp) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  for (int i = 0; i < kControlCount; ++i) {
    const Ctl c = static_cast<Ctl>(i);
    if (QWidget* w = r.widget(c)) {
      EXPECT_EQ(w->toolTip().toStdString(), r.f.ui[c].tooltip) << control_name(c);
    }
  }
  EXPECT_FALSE(r.widget(Ctl::Text12)->toolTip().isEmpty());
}

// Colour of the phase plot's pixel at design-pixel offset (x, y) of its raster, as the
// view paints it.
std::uint32_t shown_pixel(Rig& r, int x, int y) {
  auto* view = static_cast<SurfaceView*>(r.widget(Ctl::Picture1));
  const QImage img = view->grab().toImage();
  const int b = r.f.Picture1.border();
  const double s = view->width() / double(r.f.Picture1.pixel_width() + 2 * b);
  const QColor c = img.pixelColor(int((x + b + 0.5) * s), int((y + b + 0.5) * s));
  return static_cast<std::uint32_t>(c.red()) | c.green() << 8 | c.blue() << 16;
}

// What Clear does to the model is checked in tests/commands (Panel.ClearRedraws...); here
// the click reaches it and the view shows the new drawing.
TEST(PanelWindow, ClearClickWipesThePhasePlotOnScreen) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  Surface& p = r.f.Picture1;
  r.f.ui.set_visible(Ctl::Picture1, true);
  p.DrawMode = kDrawBlackness;
  p.PSet(1000, 1000);
  p.Refresh();
  const int dx = p.to_px(1000), dy = p.to_py(1000);
  const int axis_x = p.to_px(static_cast<float>(static_cast<int>(p.Width()) / 2));
  r.f.ui.set_visible(Ctl::Frame12, true);
  QTest::mouseClick(r.widget(Ctl::Text7), Qt::LeftButton);
  EXPECT_FALSE(r.widget(Ctl::Frame12)->isVisible());
  EXPECT_EQ(shown_pixel(r, axis_x, dy), 0x0000FFu);  // the red zero-phase axis
  EXPECT_EQ(shown_pixel(r, dx, dy), 0xFFFFFFu);
}

// The help file is shown and the next command closes it; a missing one is named in the
// viewer; a double click opens it once.
TEST(PanelWindow, HelpOpensTheViewerAndTheNextCommandClosesIt) {
  Rig r(true);
  ASSERT_TRUE(r.start_connected());
  r.f.help_file = KV_HELP_FILE;
  QTest::mouseClick(r.widget(Ctl::help), Qt::LeftButton);
  ASSERT_TRUE(r.qt.help.is_open());
  QString shown = r.qt.help.browser()->toPlainText();
  EXPECT_TRUE(shown.contains(QStringLiteral("Save poincare")));
  EXPECT_TRUE(shown.contains(QStringLiteral("POINCARE")));   // the file formats are there
  QTest::mouseClick(r.widget(Ctl::Text11), Qt::LeftButton);  // "Set range" closes it
  EXPECT_TRUE(r.f.ui[Ctl::HScroll1].visible);
  EXPECT_FALSE(r.qt.help.is_open());

  r.f.help_file = "no_such_help_file.hlp";
  QTest::mouseClick(r.widget(Ctl::help), Qt::LeftButton);
  ASSERT_TRUE(r.qt.help.is_open());
  shown = r.qt.help.browser()->toPlainText();
  EXPECT_TRUE(shown.contains(QStringLiteral("not found")));
  EXPECT_TRUE(shown.contains(QStringLiteral("no_such_help_file.hlp")));
}

TEST(PanelWindow, DoubleClickOnAButtonIsOneClick) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  QTest::mouseDClick(r.w.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                     r.centre_in_window(Ctl::help));
  QTest::mouseClick(r.w.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    r.centre_in_window(Ctl::help));
  EXPECT_EQ(std::count(r.help.calls.begin(), r.help.calls.end(), "open pendulum_help.hlp"), 2);
}

TEST(PanelWindow, CheckBoxClickReachesTheModelBeforeItsHandler) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  r.f.ui.set_visible(Ctl::Frame21, true);
  r.w.sync();
  auto* real_time = static_cast<QCheckBox*>(r.widget(Ctl::Check1));
  auto* computer = static_cast<QCheckBox*>(r.widget(Ctl::Check2));
  ASSERT_TRUE(real_time->isChecked());
  QTest::mouseClick(computer, Qt::LeftButton);
  EXPECT_TRUE(r.f.ui[Ctl::Check2].checked);
  // The handler keeps exactly one speed checked, and the screen follows.
  EXPECT_FALSE(r.f.ui[Ctl::Check1].checked);
  EXPECT_FALSE(real_time->isChecked());
  QTest::mouseClick(computer, Qt::LeftButton);  // unchecking it checks "Real time" again
  EXPECT_TRUE(real_time->isChecked());
  EXPECT_FALSE(computer->isChecked());
}

TEST(PanelWindow, EditsAndTheRangeScrollBarWriteTheModel) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  r.f.ui.set_visible(Ctl::Frame21, true);
  r.w.sync();
  auto* mgr = static_cast<QLineEdit*>(r.widget(Ctl::Text27));
  EXPECT_EQ(mgr->text(), QStringLiteral("0.000798"));
  mgr->selectAll();
  QTest::keyClicks(mgr, QStringLiteral("0.0009"));
  EXPECT_EQ(r.f.ui[Ctl::Text27].text, "0.0009");

  QTest::mouseClick(r.widget(Ctl::Text11), Qt::LeftButton);  // "Set range"
  auto* bar = static_cast<QScrollBar*>(r.widget(Ctl::HScroll1));
  ASSERT_TRUE(bar->isVisible());
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(r.f.ui[Ctl::HScroll1].value, 3);
  EXPECT_EQ(r.f.ui[Ctl::Text3].text, "9");
  EXPECT_EQ(static_cast<TextControl*>(r.widget(Ctl::Text3))->text(), QStringLiteral("9"));
  EXPECT_EQ(r.f.cycle_number, 0);  // the plot's range changes only with the next plot
}

}  // namespace
}  // namespace kv::test
