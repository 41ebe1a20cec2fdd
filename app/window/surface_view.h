// Shows a picture surface: its raster scaled to the widget, inside the design's two-pixel
// sunken border. It repaints when the surface was refreshed since the last paint (poll),
// or when told to (a command ended).
#pragma once

#include <QWidget>
#include <cstdint>

namespace kv {

class Surface;

class SurfaceView : public QWidget {
  Q_OBJECT

 public:
  SurfaceView(const Surface& surface, QWidget* parent = nullptr);
  // Schedules a repaint if the surface was refreshed since it was last painted.
  void poll();
  const Surface& surface() const { return surface_; }
  std::uint64_t painted_serial() const { return painted_; }

 signals:
  void moved();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  const Surface& surface_;
  std::uint64_t painted_ = ~std::uint64_t{0};
};

}  // namespace kv
