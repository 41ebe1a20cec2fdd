#include "app/window/backdrop.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "app/window/text_control.h"
#include "app/window/window_style.h"

namespace kv {

Backdrop::Backdrop(const QColor& ink, QWidget* parent) : QWidget(parent), ink_(ink) {
  setMouseTracking(true);
}

void Backdrop::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const double s = design_scale(this);
  p.fillRect(rect(), Qt::white);
  draw_sunken_border(p, rect(), s);
  p.setRenderHint(QPainter::Antialiasing);

  const double u = std::min(width(), height()) / 100.0;  // drawing unit
  const QPointF hub(width() / 2.0, height() * 0.45);
  QColor faint = ink_;
  faint.setAlpha(70);
  QPen pen(ink_, std::max(1.0, 0.8 * u));
  p.setPen(pen);

  // Rotor disc on its shaft, with the off-centre mass at about 35 degrees.
  const double r = 28 * u;
  p.setBrush(faint);
  p.drawEllipse(hub, r, r);
  p.setBrush(ink_);
  p.drawEllipse(hub, 2.5 * u, 2.5 * u);
  const double a = 35.0 * M_PI / 180.0;
  const QPointF mass(hub.x() + 0.7 * r * std::sin(a), hub.y() + 0.7 * r * std::cos(a));
  p.drawEllipse(mass, 6 * u, 6 * u);

  // String over the pulley to the spring on one side and the drive arm on the other.
  p.setBrush(Qt::NoBrush);
  const QPointF left(hub.x() - r, hub.y()), right(hub.x() + r, hub.y());
  const QPointF spring_end(left.x(), hub.y() + 38 * u);
  QPainterPath spring(left);
  const int turns = 8;
  for (int i = 1; i <= 2 * turns; ++i) {
    const double t = static_cast<double>(i) / (2 * turns);
    const double x = left.x() + ((i % 2) ? -3 * u : 3 * u);
    spring.lineTo(x, left.y() + t * (spring_end.y() - left.y()));
  }
  p.drawPath(spring);
  const QPointF crank(right.x() + 6 * u, hub.y() + 40 * u);
  p.drawLine(right, QPointF(right.x(), crank.y() - 8 * u));
  p.drawLine(QPointF(right.x(), crank.y() - 8 * u), crank + QPointF(8 * u * 0.7, -8 * u * 0.7));
  p.drawEllipse(crank, 8 * u, 8 * u);
  p.setBrush(ink_);
  p.drawEllipse(crank, 1.5 * u, 1.5 * u);

  // The encoder behind the shaft: a ring of ticks.
  p.setPen(QPen(ink_, std::max(1.0, 0.4 * u)));
  for (int i = 0; i < 40; ++i) {
    const double t = i * 2 * M_PI / 40;
    p.drawLine(QPointF(hub.x() + (r + 2 * u) * std::cos(t), hub.y() + (r + 2 * u) * std::sin(t)),
               QPointF(hub.x() + (r + 4 * u) * std::cos(t), hub.y() + (r + 4 * u) * std::sin(t)));
  }
}

void Backdrop::mouseMoveEvent(QMouseEvent* e) {
  e->accept();
}

}  // namespace kv
