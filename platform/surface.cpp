#include "platform/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kv {

Surface::Surface(int width_twips, int height_twips, int border_px, std::uint32_t back_color,
                 std::uint32_t fore_color)
    : BackColor(back_color),
      ForeColor(fore_color),
      width_(static_cast<float>(width_twips)),
      height_(static_cast<float>(height_twips)),
      border_(border_px) {
  pw_ = std::max(1, width_twips / kTwipsPerPixel - 2 * border_px);
  ph_ = std::max(1, height_twips / kTwipsPerPixel - 2 * border_px);
  scale_width_ = static_cast<float>(pw_ * kTwipsPerPixel);
  scale_height_ = static_cast<float>(ph_ * kTwipsPerPixel);
  dw_ = pw_;
  dh_ = ph_;
  sx_ = sy_ = 1.0 / kTwipsPerPixel;
  map_units();
  pixels_.assign(static_cast<std::size_t>(dw_) * dh_, rgb_from_bgr(BackColor));
  stamp_.assign(pixels_.size(), 0);
  cleared_to_ = BackColor;
}

void Surface::keep_drawing(bool on) {
  keeping_ = on;
  ops_.clear();
  ops_.shrink_to_fit();
  // Operations drawn before now are not known: whole again from the next Cls.
  kept_whole_ = on && serial_ == 0;
}

void Surface::keep(Operation::Kind kind, float x1, float y1, float x2, float y2,
                   std::uint32_t color) {
  if (!kept_whole_) return;
  if (ops_.size() >= kMaxKeptOperations) {
    kept_whole_ = false;
    ops_.clear();
    ops_.shrink_to_fit();
    return;
  }
  const int w = std::clamp(DrawWidth, -32768, 32767);
  ops_.push_back({kind, static_cast<std::uint8_t>(DrawMode), static_cast<std::uint8_t>(DrawStyle),
                  static_cast<std::int16_t>(w), color, x1, y1, x2, y2});
}

// At a device scale of 1 the raster's units are the design's, bit for bit.
void Surface::map_units() {
  rx_ = k_ == 1.0 ? sx_ : sx_ * k_;
  ry_ = k_ == 1.0 ? sy_ : sy_ * k_;
}

void Surface::set_scale(float sw, float sh) {
  keep(Operation::scale, sw, sh, 0, 0, 0);
  apply_scale(sw, sh);
}

void Surface::apply_scale(float sw, float sh) {
  scale_width_ = sw;
  scale_height_ = sh;
  sx_ = pw_ / static_cast<double>(sw);
  sy_ = ph_ / static_cast<double>(sh);
  map_units();
}

void Surface::set_device_scale(double scale) {
  if (!(scale >= 1.0)) scale = 1.0;
  if (scale > 8.0) scale = 8.0;
  if (scale == k_) return;
  const int nw = std::max(1, static_cast<int>(std::lround(pw_ * scale)));
  const int nh = std::max(1, static_cast<int>(std::lround(ph_ * scale)));
  if (keeping_ && kept_whole_) {
    // What is drawn stays: drawn again at the new resolution.
    pixels_.assign(static_cast<std::size_t>(nw) * nh, 0);
    stamp_.assign(pixels_.size(), 0);
    stamp_mark_ = 0;
    dw_ = nw;
    dh_ = nh;
    k_ = scale;
    map_units();
    draw_again();
    ++serial_;
    shown_serial_ = serial_;
    return;
  }
  // What is drawn stays: each new pixel takes the old pixel under its centre.
  std::vector<std::uint32_t> next(static_cast<std::size_t>(nw) * nh);
  for (int y = 0; y < nh; ++y) {
    const int oy = std::min(dh_ - 1, static_cast<int>((y + 0.5) * dh_ / nh));
    for (int x = 0; x < nw; ++x) {
      const int ox = std::min(dw_ - 1, static_cast<int>((x + 0.5) * dw_ / nw));
      next[static_cast<std::size_t>(y) * nw + x] = pixels_[static_cast<std::size_t>(oy) * dw_ + ox];
    }
  }
  pixels_ = std::move(next);
  stamp_.assign(pixels_.size(), 0);
  stamp_mark_ = 0;
  dw_ = nw;
  dh_ = nh;
  k_ = scale;
  map_units();
  ++serial_;
  shown_serial_ = serial_;
}

int Surface::to_px(float x) const {
  double p = std::floor(x * rx_);
  return p < -1e6 ? -1000000 : p > 1e6 ? 1000000 : static_cast<int>(p);
}
int Surface::to_py(float y) const {
  double p = std::floor(y * ry_);
  return p < -1e6 ? -1000000 : p > 1e6 ? 1000000 : static_cast<int>(p);
}

std::uint32_t Surface::pixel(int px, int py) const {
  if (px < 0 || py < 0 || px >= dw_ || py >= dh_) return 0;
  return bgr_from_rgb(pixels_[static_cast<std::size_t>(py) * dw_ + px]);
}

void Surface::Cls() {
  std::fill(pixels_.begin(), pixels_.end(), rgb_from_bgr(BackColor));
  CurrentX = 0;
  CurrentY = 0;
  ++serial_;
  cleared_to_ = BackColor;
  if (keeping_) {
    ops_.clear();
    kept_whole_ = true;
    // The user scale in force carries over the Cls.
    keep(Operation::scale, scale_width_, scale_height_, 0, 0, 0);
  }
}

// Draws the kept operations again on a raster cleared to the colour of the last Cls, with
// the pen state each was drawn with; the pen state and position in force are kept.
void Surface::draw_again() {
  const int mode = DrawMode, style = DrawStyle, width = DrawWidth;
  const float cx = CurrentX, cy = CurrentY, sw = scale_width_, sh = scale_height_;
  std::fill(pixels_.begin(), pixels_.end(), rgb_from_bgr(cleared_to_));
  for (const Operation& op : ops_) {
    DrawMode = op.mode;
    DrawStyle = op.style;
    DrawWidth = op.width;
    switch (op.kind) {
      case Operation::scale:
        apply_scale(op.x1, op.y1);
        break;
      case Operation::point:
        draw_point(op.x1, op.y1, op.color);
        break;
      case Operation::line:
        segment(to_px(op.x1), to_py(op.y1), to_px(op.x2), to_py(op.y2), pen_for(op.color));
        break;
    }
  }
  DrawMode = mode;
  DrawStyle = style;
  DrawWidth = width;
  CurrentX = cx;
  CurrentY = cy;
  if (sw != scale_width_ || sh != scale_height_) apply_scale(sw, sh);
}

std::uint32_t Surface::pen_for(std::uint32_t color) const {
  return rgb_from_bgr(color);
}

// Combines one pixel with the pen in the current draw mode. In the XOR-type mode each
// pixel of one figure is touched once (the stamp), so a figure drawn twice restores it.
void Surface::plot(int px, int py, std::uint32_t pen) {
  if (px < 0 || py < 0 || px >= dw_ || py >= dh_) return;
  std::size_t i = static_cast<std::size_t>(py) * dw_ + px;
  std::uint32_t& p = pixels_[i];
  switch (DrawMode) {
    case kDrawBlackness:
      p = 0xFF000000u;
      break;
    case kDrawWhiteness:
      p = 0xFFFFFFFFu;
      break;
    case kDrawNotXorPen:
      if (stamp_[i] == stamp_mark_) return;
      stamp_[i] = stamp_mark_;
      p = 0xFF000000u | (~(pen ^ p) & 0x00FFFFFFu);
      break;
    default:
      p = pen;
      break;
  }
}

// DrawWidth in raster pixels: as set at a device scale of 1, else scaled and rounded; 0
// draws one raster pixel wide at any scale.
int Surface::dot_width() const {
  if (k_ == 1.0 || DrawWidth <= 0) return DrawWidth;
  return std::max(1, static_cast<int>(std::lround(std::max(1, DrawWidth) * k_)));
}

void Surface::dot(int px, int py, std::uint32_t pen) {
  const int w = dot_width();
  if (w <= 1) {
    plot(px, py, pen);
    return;
  }
  // A dot w pixels across, centred on the point (the extra pixel goes right/down).
  int lo = -(w - 1) / 2;
  for (int dy = 0; dy < w; ++dy)
    for (int dx = 0; dx < w; ++dx) plot(px + lo + dx, py + lo + dy, pen);
}

void Surface::segment(int x0, int y0, int x1, int y1, std::uint32_t pen) {
  if (++stamp_mark_ == 0) {  // wrapped: clear the stamp plane
    std::fill(stamp_.begin(), stamp_.end(), 0);
    stamp_mark_ = 1;
  }
  // Clip the parameter range coarsely so absurd coordinates cannot spin for long.
  const int lim = 1 << 20;
  x0 = std::clamp(x0, -lim, lim);
  x1 = std::clamp(x1, -lim, lim);
  y0 = std::clamp(y0, -lim, lim);
  y1 = std::clamp(y1, -lim, lim);
  bool patterned = DrawWidth <= 1 && DrawStyle != kStyleSolid;
  if (!patterned && (x0 == x1 || y0 == y1)) {
    // A solid horizontal or vertical line covers a rectangle of dots: each pixel is
    // combined once, as the walk below would leave it (every mode gives the same result
    // whatever the order, the XOR mode through the stamp).
    const int dw = dot_width();
    const int w = dw <= 1 ? 1 : dw;
    const int lo = dw <= 1 ? 0 : -(dw - 1) / 2;
    const int xa = std::max(std::min(x0, x1) + lo, 0);
    const int xb = std::min(std::max(x0, x1) + lo + w - 1, dw_ - 1);
    const int ya = std::max(std::min(y0, y1) + lo, 0);
    const int yb = std::min(std::max(y0, y1) + lo + w - 1, dh_ - 1);
    if (DrawMode == kDrawNotXorPen) {
      for (int y = ya; y <= yb; ++y)
        for (int x = xa; x <= xb; ++x) plot(x, y, pen);
    } else if (xa <= xb) {
      // The other modes set every pixel of the rectangle to one value, whatever it held.
      const std::uint32_t value = DrawMode == kDrawBlackness   ? 0xFF000000u
                                  : DrawMode == kDrawWhiteness ? 0xFFFFFFFFu
                                                               : pen;
      for (int y = ya; y <= yb; ++y) {
        std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(y) * dw_;
        std::fill(row + xa, row + xb + 1, value);
      }
    }
    ++serial_;
    return;
  }
  int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  // The pattern counts design pixels along the line: at a device scale of k, k raster
  // steps make one.
  const double per_step = 1.0 / k_;
  int step = 0;
  for (;;) {
    bool on = true;
    if (patterned) {
      const int n = k_ == 1.0 ? step : static_cast<int>(step * per_step);
      on = DrawStyle == kStyleDot ? (n % 3 == 0) : (n % 9 < 6);
      // A dot of the dotted style, as wide as a design pixel, is set once per design
      // pixel: at its first step (a dash simply runs on).
      if (on && k_ != 1.0 && DrawStyle == kStyleDot && step > 0 &&
          static_cast<int>((step - 1) * per_step) == n)
        on = false;
    }
    if (on) dot(x0, y0, pen);
    ++step;
    if (x0 == x1 && y0 == y1) break;
    // Leave early once the walk has left the raster for good.
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  ++serial_;
}

void Surface::PSet(float x, float y) {
  PSet(x, y, ForeColor);
}

void Surface::PSet(float x, float y, std::uint32_t color) {
  keep(Operation::point, x, y, 0, 0, color);
  draw_point(x, y, color);
  CurrentX = x;
  CurrentY = y;
  ++serial_;
}

void Surface::draw_point(float x, float y, std::uint32_t color) {
  if (++stamp_mark_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    stamp_mark_ = 1;
  }
  const int px = to_px(x), py = to_py(y);
  if (k_ == 1.0 && DrawWidth <= 1) {
    plot(px, py, pen_for(color));  // a point one pixel wide, as dot() draws it
  } else {
    dot(px, py, pen_for(color));
  }
}

void Surface::Line(float x1, float y1, float x2, float y2, std::uint32_t color) {
  keep(Operation::line, x1, y1, x2, y2, color);
  segment(to_px(x1), to_py(y1), to_px(x2), to_py(y2), pen_for(color));
  CurrentX = x2;
  CurrentY = y2;
}

void Surface::Line(float x1, float y1, float x2, float y2) {
  Line(x1, y1, x2, y2, ForeColor);
}

void Surface::LineTo(float x2, float y2, std::uint32_t color) {
  Line(CurrentX, CurrentY, x2, y2, color);
}

}  // namespace kv
