// A picture surface: a persistent raster with the drawing operations the plots use.
//
// Coordinates are in the surface's own units: twips (15 per pixel of the 1024 x 768
// design) with the origin at the top-left inner corner, unless a user scale is set with
// set_scale. The raster covers the inner area (outer size minus the border), so a drawing
// persists while the surface is hidden and can be drawn and saved without a screen.
// Colours are the program's 0x00BBGGRR numbers; pixels() holds 0xFFRRGGBB values.
//
// The raster has one pixel per design pixel unless a device scale is set (the window's
// scale times the screen's device pixel ratio): then it has that many pixels per design
// pixel, coordinates map to them, and a point of DrawWidth w is w times the scale pixels
// wide (rounded), so the plots are drawn at the screen's own resolution with the same
// operations and drawing modes. At a device scale of 1 every pixel is as designed.
//
// A surface a window shows keeps its drawing operations since the last Cls (keep_drawing):
// a new device scale then draws them again at the new resolution, so a window made
// smaller and larger again shows every point and line as sharp as if drawn at that size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv {

inline constexpr int kTwipsPerPixel = 15;

enum DrawModes : int {
  kDrawBlackness = 1,
  kDrawNotXorPen = 10,
  kDrawCopyPen = 13,
  kDrawWhiteness = 16,
};

enum DrawStyles : int { kStyleSolid = 0, kStyleDash = 1, kStyleDot = 2 };

class Surface {
 public:
  // width/height: outer size in twips; border: border width in pixels on each side.
  Surface(int width_twips, int height_twips, int border_px, std::uint32_t back_color,
          std::uint32_t fore_color = 0);

  // Outer size in window twips, read as single-precision values.
  float Width() const { return width_; }
  float Height() const { return height_; }
  // Inner drawable size in the surface's own units.
  float ScaleWidth() const { return scale_width_; }
  float ScaleHeight() const { return scale_height_; }
  // Sets a user scale: the inner area spans sw x sh units from (0, 0).
  void set_scale(float sw, float sh);

  void Cls();
  void PSet(float x, float y);  // pen colour is the fore colour
  void PSet(float x, float y, std::uint32_t color);
  void Line(float x1, float y1, float x2, float y2, std::uint32_t color);
  void Line(float x1, float y1, float x2, float y2);     // fore colour
  void LineTo(float x2, float y2, std::uint32_t color);  // Line -(x2, y2)
  // Marks everything drawn so far for showing at the next repaint.
  void Refresh() { shown_serial_ = serial_; }

  int DrawMode = kDrawCopyPen;
  int DrawStyle = kStyleSolid;
  int DrawWidth = 1;  // in design pixels; 0: one raster pixel at any device scale
  float CurrentX = 0;
  float CurrentY = 0;
  std::uint32_t BackColor;
  std::uint32_t ForeColor;

  // Raster pixels per design pixel (1 unless set; never below 1). Changing it keeps what
  // is drawn: drawn again from the kept operations when the surface keeps them, else
  // resampled to the new raster; later drawing is at the new resolution.
  void set_device_scale(double scale);
  // Keeps the drawing operations from now on (a surface some window shows). When more than
  // kMaxKeptOperations are drawn between two Cls, the rest is resampled as without.
  void keep_drawing(bool on);
  static constexpr std::size_t kMaxKeptOperations = 4000000;
  double device_scale() const { return k_; }

  // Raster access for views, tests and image export. pixel_width/height are the raster's
  // size (the design size times the device scale); design_width/height the design's.
  int pixel_width() const { return dw_; }
  int pixel_height() const { return dh_; }
  int design_width() const { return pw_; }
  int design_height() const { return ph_; }
  int border() const { return border_; }
  const std::uint32_t* pixels() const { return pixels_.data(); }
  // Colour at pixel (px, py) as a 0x00BBGGRR number.
  std::uint32_t pixel(int px, int py) const;
  // Raster column/row that a coordinate falls on.
  int to_px(float x) const;
  int to_py(float y) const;

  // Counts drawing operations; shown_serial() is the count at the last Refresh. A view
  // repaints when shown_serial() has moved since its last paint.
  std::uint64_t serial() const { return serial_; }
  std::uint64_t shown_serial() const { return shown_serial_; }

 private:
  // One drawing operation as it was asked for, with the pen state it was drawn with.
  struct Operation {
    enum Kind : std::uint8_t { point, line, scale } kind;
    std::uint8_t mode, style;
    std::int16_t width;
    std::uint32_t color;
    float x1, y1, x2, y2;  // scale: x1, y1 are the user scale's width and height
  };
  void keep(Operation::Kind kind, float x1, float y1, float x2, float y2, std::uint32_t color);
  void draw_again();
  void apply_scale(float sw, float sh);
  void draw_point(float x, float y, std::uint32_t color);
  void plot(int px, int py, std::uint32_t pen);
  void dot(int px, int py, std::uint32_t pen);
  void segment(int x0, int y0, int x1, int y1, std::uint32_t pen);
  std::uint32_t pen_for(std::uint32_t color) const;

  float width_, height_, scale_width_, scale_height_;
  int dot_width() const;
  void map_units();

  int border_, pw_, ph_;  // design pixels
  int dw_, dh_;           // raster pixels
  double k_ = 1.0;        // raster pixels per design pixel
  double sx_, sy_;        // design pixels per unit
  double rx_, ry_;        // raster pixels per unit
  std::vector<std::uint32_t> pixels_;
  std::vector<std::uint32_t> stamp_;  // figure de-duplication for the XOR modes
  std::uint32_t stamp_mark_ = 0;
  std::uint64_t serial_ = 0, shown_serial_ = 0;
  bool keeping_ = false;
  bool kept_whole_ = false;       // ops_ holds everything drawn since the last Cls
  std::uint32_t cleared_to_ = 0;  // BackColor of the last Cls
  std::vector<Operation> ops_;
};

// Converts 0x00BBGGRR to 0xFFRRGGBB and back.
constexpr std::uint32_t rgb_from_bgr(std::uint32_t c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr std::uint32_t bgr_from_rgb(std::uint32_t c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// System colours used by the design (window background, window text).
inline constexpr std::uint32_t kWindowBackground = 0xFFFFFF;
inline constexpr std::uint32_t kWindowText = 0x000000;

}  // namespace kv
