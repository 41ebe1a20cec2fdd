#include "app/window/frame_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/window/window_style.h"

namespace kv {

FrameBox::FrameBox(bool bordered, QWidget* parent) : QWidget(parent), bordered_(bordered) {
  setMouseTracking(true);
}

void FrameBox::set_caption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
}

void FrameBox::set_back(std::uint32_t bgr) {
  QPalette pal = palette();
  const QColor c = qcolor(bgr);
  if (pal.color(QPalette::Window) == c) return;
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    pal.setColor(group, QPalette::Window, c);
  setPalette(pal);
  update();
}

void FrameBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!bordered_) {
    p.fillRect(rect(), palette().color(QPalette::Window));
    return;
  }
  const double s = design_scale(this);
  const int w = std::max(1, static_cast<int>(std::lround(s)));
  const QFontMetrics fm(font());
  // The border runs through the middle of the caption's line; above it the window shows.
  const int top = caption_.isEmpty() ? 0 : fm.height() / 2;
  const QRect r = rect().adjusted(0, top, -w, -w);
  p.fillRect(rect().adjusted(0, top, 0, 0), palette().color(QPalette::Window));
  const QColor dark(160, 160, 160), light(255, 255, 255);
  p.setPen(QPen(light, w));
  p.drawRect(r.translated(w, w).adjusted(w / 2, w / 2, -w / 2, -w / 2));
  p.setPen(QPen(dark, w));
  p.drawRect(r.adjusted(w / 2, w / 2, -w / 2, -w / 2));
  if (caption_.isEmpty()) return;
  const int x = static_cast<int>(std::lround(7 * s));
  const QRect text(x, 0, fm.horizontalAdvance(caption_) + 2 * w + 2, fm.height());
  // Break the border line behind the caption.
  p.fillRect(QRect(text.left(), top - w, text.width(), 3 * w), palette().color(QPalette::Window));
  p.setPen(isEnabled() ? QColor(0, 0, 0) : QColor(128, 128, 128));
  p.setFont(font());
  p.drawText(text, Qt::AlignCenter, caption_);
}

void FrameBox::mouseMoveEvent(QMouseEvent* e) {
  emit moved();
  e->accept();
}

// Clicks on a frame go nowhere (they are not clicks on the bare window).
void FrameBox::mousePressEvent(QMouseEvent* e) {
  e->accept();
}

}  // namespace kv
