// The background pictures behind the Poincare plot area (Picture3 while the interface box
// is connected, Picture5 without it and behind the simulation panel): a line drawing of
// the pendulum, a rotor disc with its off-centre mass, the drive arm and the spring.
#pragma once

#include <QColor>
#include <QWidget>

namespace kv {

class Backdrop : public QWidget {
  Q_OBJECT

 public:
  Backdrop(const QColor& ink, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseMoveEvent(class QMouseEvent* e) override;

 private:
  QColor ink_;
};

}  // namespace kv
