// Shows a picture surface: its raster scaled to the widget, inside the design's two-pixel
// sunken border. It repaints when the surface was refreshed since the last paint (poll),
// or when told to (a command ended). It keeps the surface's device scale at the window's
// scale times the screen's device pixel ratio, so the raster has a pixel for every pixel
// of the screen (at least one per design pixel) and the plots are drawn sharp.
#pragma once

#include <QWidget>
#include <cstdint>

namespace kv {

class Surface;

class SurfaceView : public QWidget {
  Q_OBJECT

 public:
  SurfaceView(Surface& surface, QWidget* parent = nullptr);
  // Schedules a repaint if the surface was refreshed since it was last painted.
  void poll();
  const Surface& surface() const { return surface_; }
  // Sets the surface's device scale to the window's scale times the screen's device pixel
  // ratio. The window calls it whenever the design is laid out anew, hidden plots too.
  void follow_device_scale();

 signals:
  void moved();
  // A right click (or the menu key) asks for the plot's menu at a global position.
  void menu_requested(QPoint global);

 protected:
  void paintEvent(QPaintEvent* e) override;
  bool event(QEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  Surface& surface_;
  std::uint64_t painted_ = ~std::uint64_t{0};
};

}  // namespace kv
