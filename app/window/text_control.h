// A text box or label of the design: background and text colours from the controls model
// (kept in the widget's palette: Window and WindowText), a caption drawn centred or to one
// side, an optional sunken border. Used for the panel's buttons (text boxes used as
// buttons), the status texts and the axis labels. Reports pointer moves and clicks.
#pragma once

#include <QWidget>
#include <cstdint>

#include "app/window/layout.h"

namespace kv {

class TextControl : public QWidget {
  Q_OBJECT

 public:
  enum class Border { None, Sunken };
  TextControl(Border border, layout::Align align, QWidget* parent = nullptr);

  void set_text(const QString& text);
  QString text() const { return text_; }
  void set_colors(std::uint32_t back_bgr, std::uint32_t fore_bgr);
  // Labels over a frame take the frame's background instead of painting their own.
  void set_transparent(bool t) { transparent_ = t; }
  void set_word_wrap(bool w) { wrap_ = w; }

 signals:
  void moved();
  void clicked();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  Border border_;
  layout::Align align_;
  QString text_;
  bool transparent_ = false;
  bool wrap_ = false;
  bool pressed_ = false;
};

// Draws the two-pixel sunken edge of the design's text boxes and picture boxes, scaled.
void draw_sunken_border(class QPainter& p, const QRect& r, double scale);

}  // namespace kv
