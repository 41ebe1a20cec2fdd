#include <gtest/gtest.h>

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

TEST(Surface, NotXorFigureDrawnTwiceRestoresEveryPixel) {
  Surface s(6255, 5775, 2, 0xFFFFFF);
  s.DrawMode = kDrawCopyPen;
  s.DrawStyle = kStyleDot;
  for (int i = 0; i < 40; ++i) s.Line(0, i * 140.0f, 6000, i * 140.0f + 90, 255);
  s.DrawStyle = kStyleSolid;
  s.DrawMode = kDrawBlackness;
  for (int i = 0; i < 400; ++i) s.PSet(i * 13.7f, i * 11.3f);
  s.DrawWidth = 2;
  auto before = snapshot(s);
  s.DrawMode = kDrawNotXorPen;
  for (float x : {200.0f, 3107.0f, 6200.0f, -100.0f}) {  // also crosses past the edges
    cross(s, x, 2000);
    EXPECT_NE(snapshot(s), before);
    cross(s, x, 2000);
    EXPECT_EQ(snapshot(s), before);
  }
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

TEST(Surface, AxisLinesCoverTheDotsOfEveryStepIncludingTheEdges) {
  // A horizontal or vertical line of width w is the union of the w x w dots at each step,
  // clipped at the raster's edges; in the XOR mode drawing it twice restores the raster.
  for (int width = 1; width <= 4; ++width) {
    for (bool vertical : {false, true}) {
      Surface line(1500, 1500, 0, 0xFFFFFF), dots(1500, 1500, 0, 0xFFFFFF);
      line.DrawWidth = dots.DrawWidth = width;
      const float a = -30, b = 1530, c = 750;  // runs past both edges
      if (vertical) {
        line.Line(c, a, c, b, 0);
      } else {
        line.Line(a, c, b, c, 0);
      }
      for (float t = a; t <= b; t += 15) {
        if (vertical) {
          dots.PSet(c, t, 0);
        } else {
          dots.PSet(t, c, 0);
        }
      }
      EXPECT_EQ(snapshot(line), snapshot(dots)) << width << vertical;

      Surface x(1500, 1500, 0, 0xFFFFFF);
      x.DrawWidth = width;
      x.Line(0, 0, 1500, 1500, 0);  // something under the line
      const auto before = snapshot(x);
      x.DrawMode = kDrawNotXorPen;
      cross(x, 700, 700);
      EXPECT_NE(snapshot(x), before);
      cross(x, 700, 700);
      EXPECT_EQ(snapshot(x), before) << width;
    }
  }
}
