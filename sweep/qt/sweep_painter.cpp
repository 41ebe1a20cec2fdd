#include "sweep/qt/sweep_painter.h"

#include <QBuffer>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/text_files.h"

namespace kv {

namespace {

QColor colour(double t) {
  const auto c = viridis(t);
  return QColor(c[0], c[1], c[2]);
}

QString tick_text(double v) {
  return QString::number(v, 'g', 4);
}

}  // namespace

std::array<std::uint8_t, 3> viridis(double t) {
  // The scale at nine evenly spaced points, interpolated linearly between them.
  static constexpr std::uint8_t kStops[9][3] = {{68, 1, 84},    {71, 44, 122},  {59, 81, 139},
                                                {44, 113, 142}, {33, 144, 141}, {39, 173, 129},
                                                {92, 200, 99},  {170, 220, 50}, {253, 231, 37}};
  if (!(t > 0)) t = 0;
  if (t > 1) t = 1;
  const double x = t * 8;
  const int i = std::min(7, static_cast<int>(x));
  const double f = x - i;
  std::array<std::uint8_t, 3> c{};
  for (int k = 0; k < 3; ++k)
    c[k] = static_cast<std::uint8_t>(
        std::lround(kStops[i][k] + (kStops[i + 1][k] - kStops[i][k]) * f));
  return c;
}

std::vector<double> axis_ticks(double from, double to, int wanted) {
  std::vector<double> ticks;
  if (!(to > from) || wanted < 1) return ticks;
  const double raw = (to - from) / wanted;
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  double step = mag;
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (m * mag >= raw) {
      step = m * mag;
      break;
    }
  for (double v = std::ceil(from / step) * step; v <= to + step * 1e-9; v += step)
    ticks.push_back(std::fabs(v) < step * 1e-9 ? 0.0 : v);
  return ticks;
}

SweepPlotArea sweep_plot_area(int image_width, int image_height) {
  const int left = 95, top = 45, right = 130, bottom = 70;
  return {left, top, std::max(10, image_width - left - right),
          std::max(10, image_height - top - bottom)};
}

QImage paint_sweep_picture(const SweepPicture& p, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter g(&image);
  g.setRenderHint(QPainter::Antialiasing, false);
  QFont font = g.font();
  font.setPixelSize(14);
  g.setFont(font);
  const SweepPlotArea a = sweep_plot_area(width, height);
  const QRect plot(a.left, a.top, a.width, a.height);
  const auto x_pixel = [&](double x) {
    return a.left + (x - p.x_from) / (p.x_to - p.x_from) * a.width;
  };
  const auto y_pixel = [&](double y) {
    return a.top + a.height - (y - p.y_from) / (p.y_to - p.y_from) * a.height;
  };

  // The raster: column i of `width` over the plot's width, row 0 at the bottom.
  if (!p.curve && p.width > 0 && p.height > 0) {
    const double cw = static_cast<double>(a.width) / p.width;
    const double ch = static_cast<double>(a.height) / p.height;
    const double log_max = std::log1p(std::max(1.0, p.value_max));
    for (int row = 0; row < p.height; ++row)
      for (int col = 0; col < p.width; ++col) {
        const std::size_t k = static_cast<std::size_t>(row) * p.width + col;
        const QRectF cell(a.left + col * cw, a.top + a.height - (row + 1) * ch, cw, ch);
        const QRect r = cell.toAlignedRect();
        if (p.kind == SweepKind::orbit) {
          if (p.raster[k] == 0) continue;
          g.fillRect(r, colour(std::log1p(p.raster[k]) / log_max));
        } else {
          // A pixel with a cell that blew up is grey.
          const double t = (p.raster[k] - p.value_min) / (p.value_max - p.value_min);
          g.fillRect(r, p.unstable[k] ? QColor(160, 160, 160) : colour(t));
        }
      }
  }
  if (p.curve) {
    // Zero line: order below, chaos above.
    g.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
    g.drawLine(QPointF(a.left, y_pixel(0)), QPointF(a.left + a.width, y_pixel(0)));
    const double cw = static_cast<double>(a.width) / std::max<std::size_t>(1, p.curve_x.size());
    for (std::size_t k = 0; k < p.curve_x.size(); ++k) {
      if (std::isnan(p.curve_x[k])) continue;
      const double mid = (p.curve_x[k] + p.curve_y[k]) / 2;
      const double span = std::max(1e-12, p.value_max - p.value_min);
      g.setPen(QPen(colour((mid - p.value_min) / span), std::max(2.0, cw)));
      const double x = a.left + (k + 0.5) * cw;
      g.drawLine(QPointF(x, y_pixel(p.curve_x[k]) + 1), QPointF(x, y_pixel(p.curve_y[k]) - 1));
    }
  }

  // Axes, ticks and labels.
  g.setPen(Qt::black);
  g.drawRect(plot.adjusted(0, 0, -1, -1));
  const QFontMetrics fm(font);
  for (double x : axis_ticks(p.x_from, p.x_to, 6)) {
    const double px = x_pixel(x);
    g.drawLine(QPointF(px, a.top + a.height), QPointF(px, a.top + a.height + 5));
    const QString t = tick_text(x);
    g.drawText(QPointF(px - fm.horizontalAdvance(t) / 2.0, a.top + a.height + 20), t);
  }
  for (double y : axis_ticks(p.y_from, p.y_to, 6)) {
    const double py = y_pixel(y);
    g.drawLine(QPointF(a.left - 5, py), QPointF(a.left, py));
    const QString t = tick_text(y);
    g.drawText(QPointF(a.left - 8 - fm.horizontalAdvance(t), py + fm.ascent() / 2.0 - 1), t);
  }
  const QString xl = QString::fromStdString(p.x_label);
  g.drawText(QPointF(a.left + (a.width - fm.horizontalAdvance(xl)) / 2.0, height - 22), xl);
  g.save();
  g.translate(22, a.top + a.height / 2.0);
  g.rotate(-90);
  const QString yl = QString::fromStdString(p.y_label);
  g.drawText(QPointF(-fm.horizontalAdvance(yl) / 2.0, 0), yl);
  g.restore();
  QFont title = font;
  title.setPixelSize(17);
  title.setBold(true);
  g.setFont(title);
  g.drawText(QPointF(a.left, 28), QString::fromStdString(p.title));
  g.setFont(font);

  // The colour bar.
  if (!p.curve) {
    const int bx = a.left + a.width + 25, bw = 18;
    const bool orbit = p.kind == SweepKind::orbit;
    const double lo = orbit ? 1 : p.value_min,
                 hi = orbit ? std::max(1.0, p.value_max) : p.value_max;
    for (int i = 0; i < a.height; ++i) {
      const double t = 1.0 - static_cast<double>(i) / std::max(1, a.height - 1);
      g.fillRect(QRect(bx, a.top + i, bw, 1), colour(t));
    }
    g.setPen(Qt::black);
    g.drawRect(QRect(bx, a.top, bw, a.height - 1));
    // Ticks: the exponent's values, or the point counts on their logarithmic scale.
    const auto bar_y = [&](double v) {
      const double t = orbit ? std::log1p(v) / std::log1p(hi) : (v - lo) / (hi - lo);
      return a.top + (1 - t) * (a.height - 1);
    };
    std::vector<double> ticks;
    if (orbit) {
      for (double v = 1; v <= hi; v *= 10) ticks.push_back(v);
    } else {
      ticks = axis_ticks(lo, hi, 6);
    }
    for (double v : ticks) {
      const double y = bar_y(v);
      g.drawLine(QPointF(bx + bw, y), QPointF(bx + bw + 4, y));
      g.drawText(QPointF(bx + bw + 7, y + fm.ascent() / 2.0 - 1), tick_text(v));
    }
    g.save();
    g.translate(width - 12, a.top + a.height / 2.0);
    g.rotate(-90);
    const QString vl = QString::fromStdString(p.value_label);
    g.drawText(QPointF(-fm.horizontalAdvance(vl) / 2.0, 0), vl);
    g.restore();
  }
  return image;
}

bool write_sweep_png(const SweepPicture& p, int width, int height, const std::string& path,
                     std::string& error) {
  const QImage image = paint_sweep_picture(p, width, height);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    error = "the picture could not be encoded as PNG.";
    return false;
  }
  OutputFile out;
  if (!out.open(path) ||
      !out.write_raw(bytes.constData(), static_cast<std::size_t>(bytes.size())) || !out.commit()) {
    error = out.error();
    out.discard();
    return false;
  }
  return true;
}

}  // namespace kv
