// The plots at the window's scale: the surfaces draw at the window's scale times the
// screen's device pixel ratio and the view shows their raster pixel for pixel; at the
// design's own size nothing changes.
#include <gtest/gtest.h>

#include "app/window/surface_view.h"
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

TEST(SurfaceScale, ResizingTheWindowKeepsWhatIsDrawn) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  Surface& s = r.f.Picture2;
  s.DrawWidth = 3;
  s.PSet(1500, 1500, 0x00FF00);
  s.DrawWidth = 1;
  r.w.resize(QSize(1536, 1152));
  QCoreApplication::processEvents();
  EXPECT_EQ(s.device_scale(), 1.5 * r.w.devicePixelRatioF());
  EXPECT_EQ(s.pixel(s.to_px(1500), s.to_py(1500)), 0x00FF00u);
  r.w.resize(QSize(1024, 768));
  QCoreApplication::processEvents();
  EXPECT_EQ(s.device_scale(), 1.0);
  EXPECT_EQ(s.pixel_width(), s.design_width());
  EXPECT_EQ(s.pixel(100, 100), 0x00FF00u);
}

}  // namespace
}  // namespace kv::test
