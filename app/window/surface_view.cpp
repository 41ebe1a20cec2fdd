#include "app/window/surface_view.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "app/window/text_control.h"
#include "platform/surface.h"

namespace kv {

SurfaceView::SurfaceView(const Surface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceView::poll() {
  if (surface_.shown_serial() != painted_ && isVisible()) update();
}

void SurfaceView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  painted_ = surface_.shown_serial();
  const int b = surface_.border();
  const int pw = surface_.pixel_width(), ph = surface_.pixel_height();
  const double sx = width() / static_cast<double>(pw + 2 * b);
  const double sy = height() / static_cast<double>(ph + 2 * b);
  if (b > 0) draw_sunken_border(p, rect(), sx);
  const QImage image(reinterpret_cast<const uchar*>(surface_.pixels()), pw, ph, pw * 4,
                     QImage::Format_RGB32);
  // Shrinking would drop single-pixel dots; blend them instead. Enlarging keeps them sharp.
  p.setRenderHint(QPainter::SmoothPixmapTransform, sx < 1.0);
  p.drawImage(QRectF(b * sx, b * sy, pw * sx, ph * sy), image);
}

void SurfaceView::mouseMoveEvent(QMouseEvent* e) {
  emit moved();
  e->accept();
}

void SurfaceView::mousePressEvent(QMouseEvent* e) {
  e->accept();
}

}  // namespace kv
