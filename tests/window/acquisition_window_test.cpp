// "Plot data" end to end in the shown window: the demo box feeds the engine, the window
// keeps painting during the run, and a key press made during the run stops it.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "simulation/demo_box.h"
#include "tests/window/window_test_support.h"

using namespace kv;
using namespace kv::test;

namespace {
int dark_pixels(const Surface& s) {
  int n = 0;
  for (int y = 0; y < s.pixel_height(); ++y)
    for (int x = 0; x < s.pixel_width(); ++x) n += s.pixel(x, y) == 0u;
  return n;
}
}  // namespace

TEST(AcquisitionWindow, PlotDataDrawsBothPlotsUntilEscapeStopsIt) {
  Rig r;
  ASSERT_TRUE(r.w.start(std::make_unique<DemoBox>(/*paced=*/false)));
  std::uint32_t halt_during = 0;
  bool halt_enabled_during = false;
  long long cnt_during = 0;
  // The timer fires inside the run (the pump processes timers), looks at the window and
  // then presses Escape, which the run takes as HALT.
  QTimer::singleShot(400, [&] {
    halt_during = r.shown_back(Ctl::Text18);
    halt_enabled_during = r.widget(Ctl::Text18)->isEnabled();
    cnt_during = r.f.cnt;
    QCoreApplication::postEvent(r.w.windowHandle(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  });
  QTest::mouseClick(r.widget(Ctl::Text10), Qt::LeftButton);  // returns when the run ends

  EXPECT_EQ(halt_during, kGreen);
  EXPECT_TRUE(halt_enabled_during);
  EXPECT_GT(cnt_during, 1000);
  EXPECT_GT(dark_pixels(r.f.Picture1), 200);  // the orbit
  EXPECT_GT(r.f.poincare_cnt, 2);             // one point per drive cycle
  EXPECT_GT(dark_pixels(r.f.Picture2), 2);
  EXPECT_EQ(r.f.FFT_flag, kFalse);
  // Afterwards HALT is grey and disabled again and the run buttons are grey.
  EXPECT_FALSE(r.widget(Ctl::Text18)->isEnabled());
  EXPECT_EQ(r.shown_back(Ctl::Text18), kGrey);
  EXPECT_EQ(r.shown_back(Ctl::Text10), kGrey);
  EXPECT_TRUE(r.widget(Ctl::Picture1)->isVisible());
  EXPECT_TRUE(r.widget(Ctl::Picture2)->isVisible());
}
