#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/surface.h"

using namespace kv;

namespace {
std::vector<std::uint32_t> snapshot(const Surface& s) {
  return std::vector<std::uint32_t>(s.pixels(), s.pixels() + s.pixel_width() * s.pixel_height());
}
void cross(Surface& s, float x, float y) {
  s.Line(x - 175, y, x - 7, y, 255);
  s.Line(x + 7, y, x + 175, y, 255);
  s.Line(x, y - 175, x, y - 7, 255);
  s.Line(x, y + 7, x, y + 175, 255);
}
}  // namespace

TEST(Surface, SizesAndBorder) {
  Surface s(6615, 5790, 2, 0xFFFFFF);
  EXPECT_EQ(s.Width(), 6615.0f);
  EXPECT_EQ(s.Height(), 5790.0f);
  EXPECT_EQ(s.pixel_width(), 437);
  EXPECT_EQ(s.pixel_height(), 382);
  EXPECT_EQ(s.ScaleWidth(), 437.0f * 15);
  EXPECT_LT(s.ScaleHeight(), s.Height());
}

TEST(Surface, DrawModes) {
  Surface s(1500, 1500, 0, 0xFFFFFF);
  s.DrawMode = kDrawBlackness;
  s.PSet(15, 15, 0x00FF00);
  EXPECT_EQ(s.pixel(1, 1), 0u);
  s.DrawMode = kDrawCopyPen;
  s.PSet(30, 15, 0x00FF00);
  EXPECT_EQ(s.pixel(2, 1), 0x00FF00u);
  s.DrawMode = kDrawWhiteness;
  s.PSet(15, 15, 0);
  EXPECT_EQ(s.pixel(1, 1), 0xFFFFFFu);
  s.DrawMode = kDrawNotXorPen;
  s.PSet(30, 15, 0x0000FF);  // NOT (pen XOR pixel)
  EXPECT_EQ(s.pixel(2, 1), (~(0x0000FFu ^ 0x00FF00u)) & 0xFFFFFFu);
}

TEST(Surface, LineFormsAndCurrentPoint) {
  Surface s(1500, 1500, 0, 0xFFFFFF, 0x000000);
  s.DrawMode = kDrawCopyPen;
  s.Line(150, 150, 600, 600, 255);
  EXPECT_EQ(s.CurrentX, 600);
  EXPECT_EQ(s.CurrentY, 600);
  EXPECT_EQ(s.pixel(10, 10), 255u);
  EXPECT_EQ(s.pixel(40, 40), 255u);  // end points inclusive
  s.Cls();
  EXPECT_EQ(s.CurrentX, 0);
  EXPECT_EQ(s.CurrentY, 0);
  EXPECT_EQ(s.pixel(10, 10), 0xFFFFFFu);
  s.LineTo(0, 300, 0x00FF00);  // starts at (0, 0) after Cls
  EXPECT_EQ(s.pixel(0, 0), 0x00FF00u);
  EXPECT_EQ(s.pixel(0, 20), 0x00FF00u);
  s.Line(300, 0, 300, 300);  // fore colour
  EXPECT_EQ(s.pixel(20, 5), 0u);
}

TEST(Surface, DottedStyleAndWidth) {
  Surface s(1500, 1500, 0, 0xFFFFFF);
  s.DrawStyle = kStyleDot;
  s.Line(0, 0, 1485, 0, 255);
  int on = 0;
  for (int x = 0; x < 100; ++x) on += s.pixel(x, 0) == 255u;
  EXPECT_GT(on, 20);
  EXPECT_LT(on, 80);
  s.DrawStyle = kStyleSolid;
  s.DrawWidth = 2;
  s.PSet(300, 300, 0);
  int dots = 0;
  for (int y = 18; y < 23; ++y)
    for (int x = 18; x < 23; ++x) dots += s.pixel(x, y) == 0u;
  EXPECT_EQ(dots, 4);
}

TEST(Surface, UserScaleAndRefreshSerial) {
  Surface s(1215, 1095, 0, 0xFFFFFF);
  s.set_scale(75, 75);
  s.Line(0, 74.9f, 75, 74.9f, 128);
  EXPECT_EQ(s.pixel(10, s.pixel_height() - 1), 128u);
  auto drawn = s.serial();
  EXPECT_GT(drawn, s.shown_serial());
  s.Refresh();
  EXPECT_EQ(s.shown_serial(), drawn);
}

TEST(Surface, AxisLinesInEveryModeAreTheDotsOfTheirStepsOnAnyBackground) {
  // Horizontal and vertical lines fill their rectangle at once; they must leave every pixel
  // as the dots of their steps, drawn one by one, do: in each mode that sets pixels (the
  // XOR mode keeps its pixel-by-pixel walk), at every point width and at device scales 1
  // and 2, over a background of many colours, ending on or past the raster's edges.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pos(-40, 140), colour(0, 0xFFFFFF);
  for (double scale : {1.0, 2.0}) {
    for (int mode : {kDrawCopyPen, kDrawBlackness, kDrawWhiteness}) {
      for (int width = 1; width <= 4; ++width) {
        Surface line(1500, 1500, 0, 0xFFFFFF), dots(1500, 1500, 0, 0xFFFFFF);
        for (Surface* s : {&line, &dots}) {
          s->set_device_scale(scale);
          s->set_scale(100, 100);  // a unit is a design pixel
        }
        for (int i = 0; i < 400; ++i) {
          const float x = static_cast<float>(rng() % 100), y = static_cast<float>(rng() % 100);
          const std::uint32_t c = static_cast<std::uint32_t>(colour(rng));
          line.PSet(x, y, c);
          dots.PSet(x, y, c);
        }
        for (Surface* s : {&line, &dots}) {
          s->DrawMode = mode;
          s->DrawWidth = width;
        }
        for (int i = 0; i < 30; ++i) {
          const bool vertical = i % 2 == 1;
          const float u0 = static_cast<float>(pos(rng)), u1 = static_cast<float>(pos(rng));
          const float uc = static_cast<float>(pos(rng) % 100);
          const std::uint32_t pen = static_cast<std::uint32_t>(colour(rng));
          if (vertical) {
            line.Line(uc, u0, uc, u1, pen);
          } else {
            line.Line(u0, uc, u1, uc, pen);
          }
          // A dot at each raster step of the line (a unit is `scale` raster pixels).
          const int p0 = static_cast<int>(std::min(u0, u1) * scale);
          const int p1 = static_cast<int>(std::max(u0, u1) * scale);
          for (int p = p0; p <= p1; ++p) {
            const float t = static_cast<float>(p / scale);
            if (vertical) {
              dots.PSet(uc, t, pen);
            } else {
              dots.PSet(t, uc, pen);
            }
          }
        }
        ASSERT_EQ(snapshot(line), snapshot(dots))
            << "scale " << scale << " mode " << mode << " width " << width;
      }
    }
  }
}

// Device scales: the raster has k pixels per design pixel, a point of DrawWidth w is
// w * k pixels wide (rounded), and what is drawn survives a change of scale.
TEST(SurfaceDeviceScale, RasterSizeAndPointWidth) {
  Surface s(6615, 5790, 2, 0xFFFFFF);
  s.set_device_scale(2);
  EXPECT_EQ(s.pixel_width(), 874);
  EXPECT_EQ(s.pixel_height(), 764);
  EXPECT_EQ(s.design_width(), 437);
  EXPECT_EQ(s.ScaleWidth(), 437.0f * 15);  // coordinates are the design's
  s.PSet(150, 300, 0x0000FF);              // design pixel (10, 20): raster pixels 20..21, 40..41
  int red = 0;
  for (int y = 36; y < 46; ++y)
    for (int x = 16; x < 26; ++x) red += s.pixel(x, y) == 0x0000FFu;
  EXPECT_EQ(red, 4);
  EXPECT_EQ(s.pixel(20, 40), 0x0000FFu);
  EXPECT_EQ(s.pixel(21, 41), 0x0000FFu);

  s.set_device_scale(1.5);
  EXPECT_EQ(s.pixel_width(), 656);  // 437 * 1.5 rounded
  s.Cls();
  s.DrawWidth = 2;  // 3 raster pixels at 1.5
  s.PSet(1500, 1500, 0);
  int black = 0;
  for (int y = 140; y < 160; ++y)
    for (int x = 140; x < 160; ++x) black += s.pixel(x, y) == 0u;
  EXPECT_EQ(black, 9);
  // Below 1 the raster stays at the design's pixels.
  s.set_device_scale(0.5);
  EXPECT_EQ(s.device_scale(), 1.0);
  EXPECT_EQ(s.pixel_width(), 437);
}

TEST(SurfaceDeviceScale, LinesFollowTheCoordinatesAtTheFinerResolution) {
  Surface one(1500, 1500, 0, 0xFFFFFF), two(1500, 1500, 0, 0xFFFFFF);
  two.set_device_scale(2);
  for (Surface* s : {&one, &two}) s->Line(0, 0, 1400, 700, 255);  // slope 1/2
  // Every lit design pixel of scale 1 holds lit raster pixels at scale 2, and the line at
  // scale 2 is two pixels thick: about twice as many pixels per design column.
  int lit1 = 0, lit2 = 0;
  for (int y = 0; y < one.pixel_height(); ++y)
    for (int x = 0; x < one.pixel_width(); ++x) {
      if (one.pixel(x, y) != 255u) continue;
      ++lit1;
      bool any = false;
      for (int dy = -1; dy <= 2; ++dy)
        for (int dx = -1; dx <= 2; ++dx) any |= two.pixel(2 * x + dx, 2 * y + dy) == 255u;
      EXPECT_TRUE(any) << x << "," << y;
    }
  for (int y = 0; y < two.pixel_height(); ++y)
    for (int x = 0; x < two.pixel_width(); ++x) lit2 += two.pixel(x, y) == 255u;
  EXPECT_GE(lit2, 3 * lit1);  // 2 px thick over twice the columns, less the overlaps
  EXPECT_LE(lit2, 5 * lit1);
  // A dotted line keeps its pattern per design pixel: a third of the length is on.
  Surface dots(1500, 1500, 0, 0xFFFFFF);
  dots.set_device_scale(2);
  dots.DrawStyle = kStyleDot;
  dots.Line(0, 150, 1485, 150, 255);
  int on = 0;
  for (int x = 0; x < dots.pixel_width(); ++x) on += dots.pixel(x, 20) == 255u;
  EXPECT_GT(on, dots.pixel_width() / 4);
  EXPECT_LT(on, dots.pixel_width() / 2);
}

TEST(SurfaceDeviceScale, ChangingTheScaleKeepsTheDrawing) {
  Surface s(1500, 1500, 0, 0xFFFFFF);
  s.DrawWidth = 3;
  s.PSet(450, 450, 0x00FF00);  // design pixels 29..31
  const auto before = s.serial();
  s.set_device_scale(2);
  EXPECT_GT(s.serial(), before);
  EXPECT_EQ(s.shown_serial(), s.serial());
  for (int p = 58; p < 64; ++p) EXPECT_EQ(s.pixel(p, p), 0x00FF00u) << p;
  EXPECT_EQ(s.pixel(57, 57), 0xFFFFFFu);
  EXPECT_EQ(s.pixel(64, 64), 0xFFFFFFu);
}

class NotXorAtScale : public ::testing::TestWithParam<double> {};

// A cross drawn twice in the XOR mode restores every pixel, at every point width, over
// dotted lines and dots, also past the edges and at a y inside a design pixel.
TEST_P(NotXorAtScale, FigureDrawnTwiceRestoresEveryPixel) {
  for (int width = 1; width <= 4; ++width) {
    Surface s(6255, 5775, 2, 0xFFFFFF);
    s.set_device_scale(GetParam());
    s.DrawMode = kDrawCopyPen;
    s.DrawStyle = kStyleDot;
    for (int i = 0; i < 40; ++i) s.Line(0, i * 140.0f, 6000, i * 140.0f + 90, 255);
    s.DrawStyle = kStyleSolid;
    s.DrawMode = kDrawBlackness;
    for (int i = 0; i < 400; ++i) s.PSet(i * 13.7f, i * 11.3f);
    s.DrawWidth = width;
    auto before = snapshot(s);
    s.DrawMode = kDrawNotXorPen;
    for (float x : {200.0f, 3107.0f, 6200.0f, -100.0f}) {
      for (float y : {2000.0f, 2999.6f}) {
        cross(s, x, y);
        EXPECT_NE(snapshot(s), before);
        cross(s, x, y);
        EXPECT_EQ(snapshot(s), before) << width << ": " << x << "," << y;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, NotXorAtScale, ::testing::Values(1.0, 2.0, 1.25, 1.5),
                         [](const ::testing::TestParamInfo<double>& info) {
                           return "x" + std::to_string(static_cast<int>(info.param * 100));
                         });
