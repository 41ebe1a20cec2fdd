// An axis title written from bottom to top (the design's pictures Image1, Image2 and
// Image3: "VELOCITY (radian/second)" and "POWER (DB)" in blue).
#pragma once

#include <QWidget>

namespace kv {

class VerticalText : public QWidget {
  Q_OBJECT

 public:
  VerticalText(const QString& text, const QColor& color, QWidget* parent = nullptr);
  QString text() const { return text_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseMoveEvent(class QMouseEvent* e) override;

 private:
  QString text_;
  QColor color_;
};

}  // namespace kv
