// The plots at the window's scale: the surfaces draw at the window's scale times the
// screen's device pixel ratio and the view shows their raster pixel for pixel; at the
// design's own size nothing changes; resizing draws everything again at the new size; the
// title mark keeps its stripes at scale 2.
#include <gtest/gtest.h>

#include "app/window/surface_view.h"
#include "plot/phase_plot.h"
#include "plot/plot_state.h"
#include "plot/poincare_plot.h"
#include "tests/window/window_test_support.h"

namespace kv::test {
namespace {

std::uint32_t bgr(QRgb v) {
  return static_cast<std::uint32_t>(qRed(v)) | static_cast<std::uint32_t>(qGreen(v)) << 8 |
         static_cast<std::uint32_t>(qBlue(v)) << 16;
}

TEST(SurfaceScale, DesignSizeKeepsTheDesignRaster) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  EXPECT_EQ(r.f.Picture1.device_scale(), 1.0);
  EXPECT_EQ(r.f.Picture1.pixel_width(), 437);
  EXPECT_EQ(r.f.Picture2.pixel_width(), r.f.Picture2.design_width());
}

TEST(SurfaceScale, TwiceTheDesignSizeDrawsAtTwiceTheResolutionShownPixelForPixel) {
  Rig r(false, QSize(2048, 1536));
  ASSERT_TRUE(r.start_connected());
  Surface& s = r.f.Picture1;
  ASSERT_EQ(s.device_scale(), 2.0 * r.w.devicePixelRatioF());
  if (r.w.devicePixelRatioF() != 1.0) GTEST_SKIP() << "the pixel comparison assumes ratio 1";
  EXPECT_EQ(s.pixel_width(), 874);
  r.f.ui.set_visible(Ctl::Picture1, true);
  s.DrawMode = kDrawCopyPen;
  s.Line(100, 100, 3000, 1700, 0x0000FF);  // a slanted line: steps of single raster pixels
  s.PSet(4000, 4000, 0xFF0000);
  s.Refresh();
  r.w.sync(true);
  auto* view = static_cast<SurfaceView*>(r.widget(Ctl::Picture1));
  const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const int off = s.border() * 2;  // the two-pixel border at scale 2
  int compared = 0, differ = 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 420; ++x) {
      ++compared;
      differ += bgr(shown.pixel(off + x, off + y)) != s.pixel(x, y);
    }
  EXPECT_EQ(differ, 0) << "of " << compared;
  // The point is two raster pixels wide, at the finer position.
  const int px = s.to_px(4000), py = s.to_py(4000);
  EXPECT_EQ(bgr(shown.pixel(off + px, off + py)), 0xFF0000u);
  EXPECT_EQ(bgr(shown.pixel(off + px + 1, off + py + 1)), 0xFF0000u);
  EXPECT_NE(bgr(shown.pixel(off + px + 2, off + py)), 0xFF0000u);
  // The slanted line has steps one raster pixel long, which the enlarged design raster
  // (2 x 2 blocks) could not have: some row holds red at an odd offset from the block grid
  // in one column and not in the next.
  bool fine_step = false;
  for (int y = 0; y < 200 && !fine_step; ++y)
    for (int x = 1; x < 400 && !fine_step; x += 2)
      fine_step = s.pixel(x, y) == 0x0000FFu && s.pixel(x - 1, y) != 0x0000FFu;
  EXPECT_TRUE(fine_step);
}

TEST(SurfaceScale, ShrinkingAndEnlargingTheWindowKeepsEveryDrawingSharp) {
  Rig r(false, QSize(1536, 1152));
  ASSERT_TRUE(r.start_connected());
  // The phase plot's axes, single-pixel points, a wide point and the Poincare marker's
  // XOR cross: drawn at 1.5, the window made small, then large again.
  const auto draw = [](PlotState& p) {
    setup_phase_plot(p);
    p.Picture1.DrawMode = kDrawBlackness;
    for (int i = 0; i < 40; ++i) p.Picture1.PSet(900 + 37.0f * i, 1200 + 23.0f * i);
    grid(p);
    start_poincare_marker(p);
    p.phase_counts = 700;
    p.poincare_y = 2000;
    plot_poincare_point(p);
  };
  draw(r.f);
  for (QSize size : {QSize(800, 600), QSize(1536, 1152)}) {
    r.w.resize(size);
    QCoreApplication::processEvents();
  }
  ASSERT_EQ(r.f.Picture1.device_scale(), 1.5 * r.w.devicePixelRatioF());
  // The same drawing made at that scale from the start.
  auto fresh = std::make_unique<PlotState>();
  fresh->Picture1.set_device_scale(r.f.Picture1.device_scale());
  fresh->Picture2.set_device_scale(r.f.Picture2.device_scale());
  draw(*fresh);
  for (auto [shown, made] :
       {std::pair{&r.f.Picture1, &fresh->Picture1}, std::pair{&r.f.Picture2, &fresh->Picture2}}) {
    ASSERT_EQ(shown->pixel_width(), made->pixel_width());
    int differ = 0;
    for (int y = 0; y < made->pixel_height(); ++y)
      for (int x = 0; x < made->pixel_width(); ++x)
        differ += shown->pixel(x, y) != made->pixel(x, y);
    EXPECT_EQ(differ, 0);
  }
}

TEST(SurfaceScale, TitleMarkKeepsItsStripesAtScaleTwo) {
  Rig r(false, QSize(2048, 1536));
  ASSERT_TRUE(r.start_connected());
  const Surface& m = r.f.Picture4;
  ASSERT_EQ(m.device_scale(), 2.0 * r.w.devicePixelRatioF());
  // The top bar is seven lines one unit (about two raster pixels) apart: dark and light
  // rows alternate down its middle column.
  const int x = m.pixel_width() / 2, last = m.to_py(6.0f);
  int dark = 0;
  for (int y = 0; y <= last; ++y) dark += m.pixel(x, y) == 0x000080u;
  EXPECT_EQ(dark, 7);
  EXPECT_GE(last + 1 - dark, 5) << "light rows between the lines";
}

}  // namespace
}  // namespace kv::test
