#include "app/window/design_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/window/window_style.h"

namespace kv {

using layout::kDesignHeightPx;
using layout::kDesignWidthPx;
using layout::kTwips;

DesignCanvas::DesignCanvas(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void DesignCanvas::place(QWidget* w, layout::TwipRect abs, const layout::TwipRect* container_abs,
                         double font_pt, bool bold) {
  Placed p{
      w,       abs, container_abs != nullptr, container_abs ? *container_abs : layout::TwipRect{},
      font_pt, bold};
  placed_.push_back(p);
  apply(p);
}

void DesignCanvas::move_to(QWidget* w, layout::TwipRect abs) {
  for (Placed& p : placed_) {
    if (p.w != w) continue;
    if (p.abs.left == abs.left && p.abs.top == abs.top && p.abs.width == abs.width &&
        p.abs.height == abs.height)
      return;
    p.abs = abs;
    apply(p);
  }
}

QRect DesignCanvas::to_local(layout::TwipRect r) const {
  const double k = scale_ / kTwips;
  const int x0 = static_cast<int>(std::lround(origin_.x() + r.left * k));
  const int y0 = static_cast<int>(std::lround(origin_.y() + r.top * k));
  const int x1 = static_cast<int>(std::lround(origin_.x() + (r.left + r.width) * k));
  const int y1 = static_cast<int>(std::lround(origin_.y() + (r.top + r.height) * k));
  return QRect(x0, y0, x1 - x0, y1 - y0);
}

void DesignCanvas::apply(const Placed& p) const {
  QRect g = to_local(p.abs);
  if (p.in_container) g.translate(-to_local(p.container).topLeft());
  p.w->setProperty("kv_scale", scale_);
  p.w->setGeometry(g);
  if (p.font_pt > 0) p.w->setFont(design_font(p.font_pt, p.bold, scale_));
}

void DesignCanvas::relayout() {
  const double sx = width() / static_cast<double>(kDesignWidthPx);
  const double sy = height() / static_cast<double>(kDesignHeightPx);
  scale_ = std::max(0.05, std::min(sx, sy));
  origin_ = QPointF((width() - kDesignWidthPx * scale_) / 2.0,
                    (height() - kDesignHeightPx * scale_) / 2.0);
  for (const Placed& p : placed_) apply(p);
  emit rescaled();
}

DesignPoint DesignCanvas::to_design(QPointF local) const {
  const double x = (local.x() - origin_.x()) / scale_;
  const double y = (local.y() - origin_.y()) / scale_;
  return DesignPoint{static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

DesignPoint DesignCanvas::global_to_design(QPointF global) const {
  return to_design(mapFromGlobal(global));
}

void DesignCanvas::resizeEvent(QResizeEvent*) {
  relayout();
}

void DesignCanvas::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  p.fillRect(e->rect(), qcolor(layout::kFormColor));
}

void DesignCanvas::mouseMoveEvent(QMouseEvent* e) {
  emit moved();
  e->accept();
}

void DesignCanvas::mousePressEvent(QMouseEvent* e) {
  pressed_ = e->button() == Qt::LeftButton;
  e->accept();
}

void DesignCanvas::mouseReleaseEvent(QMouseEvent* e) {
  const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->pos());
  pressed_ = false;
  if (click) emit clicked();
}

}  // namespace kv
