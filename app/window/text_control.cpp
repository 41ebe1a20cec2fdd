#include "app/window/text_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/window/window_style.h"

namespace kv {

void draw_sunken_border(QPainter& p, const QRect& r, double scale) {
  const int w = std::max(1, static_cast<int>(std::lround(scale)));
  const QColor outer_dark(128, 128, 128), outer_light(255, 255, 255);
  const QColor inner_dark(64, 64, 64), inner_light(212, 208, 200);
  auto edge = [&](int inset, const QColor& dark, const QColor& light) {
    const QRect e = r.adjusted(inset, inset, -inset, -inset);
    p.fillRect(QRect(e.left(), e.top(), e.width(), w), dark);
    p.fillRect(QRect(e.left(), e.top(), w, e.height()), dark);
    p.fillRect(QRect(e.left(), e.bottom() - w + 1, e.width(), w), light);
    p.fillRect(QRect(e.right() - w + 1, e.top(), w, e.height()), light);
  };
  edge(0, outer_dark, outer_light);
  edge(w, inner_dark, inner_light);
}

TextControl::TextControl(Border border, layout::Align align, QWidget* parent)
    : QWidget(parent), border_(border), align_(align) {
  setMouseTracking(true);
}

void TextControl::set_text(const QString& text) {
  if (text == text_) return;
  text_ = text;
  update();
}

void TextControl::set_colors(std::uint32_t back_bgr, std::uint32_t fore_bgr) {
  QPalette pal = palette();
  const QColor back = qcolor(back_bgr), fore = qcolor(fore_bgr);
  if (pal.color(QPalette::Active, QPalette::Window) == back &&
      pal.color(QPalette::Active, QPalette::WindowText) == fore)
    return;
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    pal.setColor(group, QPalette::Window, back);
  pal.setColor(QPalette::Active, QPalette::WindowText, fore);
  pal.setColor(QPalette::Inactive, QPalette::WindowText, fore);
  pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
  setPalette(pal);
  update();
}

void TextControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
  if (!transparent_) p.fillRect(rect(), palette().color(group, QPalette::Window));
  const double scale = design_scale(this);
  QRect inner = rect();
  if (border_ == Border::Sunken) {
    draw_sunken_border(p, rect(), std::min(scale, 2.0));
    const int pad = static_cast<int>(std::lround(3 * std::min(scale, 2.0)));
    inner = rect().adjusted(pad, pad / 2, -pad, -pad / 2);
  }
  int flags = Qt::AlignVCenter;
  switch (align_) {
    case layout::Align::Left:
      flags = Qt::AlignLeft;
      break;
    case layout::Align::Center:
      flags = Qt::AlignHCenter;
      break;
    case layout::Align::Right:
      flags = Qt::AlignRight;
      break;
  }
  // A text box's lines start at its top; a label's lines are centred.
  const bool lines = wrap_ || text_.contains(QLatin1Char('\n'));
  flags |= lines && border_ == Border::Sunken ? Qt::AlignTop : Qt::AlignVCenter;
  if (wrap_) flags |= Qt::TextWordWrap;
  p.setPen(palette().color(group, QPalette::WindowText));
  // A caption wider than its box (another font than the design's, or a small scale) is
  // drawn smaller rather than cut off at both ends.
  QFont f = font();
  if (!lines && f.pixelSize() > 1) {
    const int need = QFontMetrics(f).horizontalAdvance(text_);
    if (need > inner.width() && inner.width() > 0)
      f.setPixelSize(std::max(1, f.pixelSize() * inner.width() / need));
  }
  p.setFont(f);
  p.drawText(inner, flags, text_);
}

void TextControl::mouseMoveEvent(QMouseEvent* e) {
  emit moved();
  e->accept();
}

void TextControl::mousePressEvent(QMouseEvent* e) {
  pressed_ = e->button() == Qt::LeftButton;
  e->accept();
}

void TextControl::mouseReleaseEvent(QMouseEvent* e) {
  const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->pos());
  pressed_ = false;
  e->accept();
  if (click) emit clicked();
}

// A double click is one click, not two: should a second press reach the widget before
// the double-click event, that event cancels it.
void TextControl::mouseDoubleClickEvent(QMouseEvent* e) {
  pressed_ = false;
  e->accept();
}

}  // namespace kv
