// The window's drawing area: the 1024 x 768 design scaled uniformly to the space the
// window has, centred, with the aspect kept. Every placed widget gets its design rectangle
// (twips) times the scale, and its design font size times the scale.
#pragma once

#include <QPointF>
#include <QWidget>
#include <vector>

#include "app/window/layout.h"
#include "platform/services.h"

namespace kv {

class DesignCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit DesignCanvas(QWidget* parent = nullptr);

  // Places `w` at `abs` (window twips). `container_abs` is the rectangle of the widget's
  // Qt parent when that is another placed widget (a frame), so the child is positioned
  // inside it. font_pt = 0 leaves the font alone.
  void place(QWidget* w, layout::TwipRect abs, const layout::TwipRect* container_abs,
             double font_pt, bool bold);

  // Moves a placed widget to another design rectangle (a top-level placement).
  void move_to(QWidget* w, layout::TwipRect abs);

  double scale() const { return scale_; }
  QPointF origin() const { return origin_; }
  // A point of this widget (or a global screen point) in design pixels.
  DesignPoint to_design(QPointF local) const;
  DesignPoint global_to_design(QPointF global) const;
  // A design rectangle (twips) in this widget's coordinates.
  QRect to_local(layout::TwipRect r) const;

 signals:
  void moved();     // the pointer moved over the bare window
  void clicked();   // a click on the bare window
  void rescaled();  // the design was laid out at a new size (every placed widget, shown or not)

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  struct Placed {
    QWidget* w;
    layout::TwipRect abs;
    bool in_container;
    layout::TwipRect container;
    double font_pt;
    bool bold;
  };
  void apply(const Placed& p) const;
  void relayout();

  std::vector<Placed> placed_;
  double scale_ = 1.0;
  QPointF origin_{0, 0};
  bool pressed_ = false;
};

}  // namespace kv
