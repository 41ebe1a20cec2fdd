#include "app/window/surface_view.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "app/window/text_control.h"
#include "app/window/window_style.h"
#include "platform/surface.h"

namespace kv {

SurfaceView::SurfaceView(Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  // Resizing the window draws the plot again at the new size, nothing lost.
  surface_.keep_drawing(true);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceView::poll() {
  if (surface_.shown_serial() != painted_ && isVisible()) update();
}

void SurfaceView::follow_device_scale() {
  surface_.set_device_scale(design_scale(this) * devicePixelRatioF());
}

bool SurfaceView::event(QEvent* e) {
  // The window moved to a screen of another pixel ratio.
  if (e->type() == QEvent::ScreenChangeInternal) follow_device_scale();
  return QWidget::event(e);
}

void SurfaceView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  painted_ = surface_.shown_serial();
  const int b = surface_.border();
  const double sx = width() / static_cast<double>(surface_.design_width() + 2 * b);
  const double sy = height() / static_cast<double>(surface_.design_height() + 2 * b);
  if (b > 0) draw_sunken_border(p, rect(), sx);
  const int rw = surface_.pixel_width(), rh = surface_.pixel_height();
  const QImage image(reinterpret_cast<const uchar*>(surface_.pixels()), rw, rh, rw * 4,
                     QImage::Format_RGB32);
  const QRectF target(b * sx, b * sy, surface_.design_width() * sx, surface_.design_height() * sy);
  // Shrinking would drop single-pixel dots; blend them instead. Enlarging keeps them sharp.
  p.setRenderHint(QPainter::SmoothPixmapTransform, rw > target.width() * devicePixelRatioF() + 0.5);
  p.drawImage(target, image);
}

void SurfaceView::mouseMoveEvent(QMouseEvent* e) {
  emit moved();
  e->accept();
}

void SurfaceView::mousePressEvent(QMouseEvent* e) {
  e->accept();
}

void SurfaceView::contextMenuEvent(QContextMenuEvent* e) {
  emit menu_requested(e->globalPos());
  e->accept();
}

}  // namespace kv
