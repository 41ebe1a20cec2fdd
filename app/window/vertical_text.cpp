#include "app/window/vertical_text.h"

#include <QMouseEvent>
#include <QPainter>

namespace kv {

VerticalText::VerticalText(const QString& text, const QColor& color, QWidget* parent)
    : QWidget(parent), text_(text), color_(color) {
  setMouseTracking(true);
}

void VerticalText::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setPen(color_);
  p.setFont(font());
  // Turn a quarter to the left about the centre: the text reads from bottom to top.
  p.translate(width() / 2.0, height() / 2.0);
  p.rotate(-90);
  const QRectF r(-height() / 2.0, -width() / 2.0, height(), width());
  p.drawText(r, Qt::AlignCenter, text_);
}

// A picture has no pointer handler: the move stops here.
void VerticalText::mouseMoveEvent(QMouseEvent* e) {
  e->accept();
}

}  // namespace kv
