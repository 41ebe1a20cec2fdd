// A frame of the design: a filled rectangle with an etched border and its caption at the
// top left (the panel's frames, the parameter panel), or a borderless strip that holds a
// plot's axis labels. Reports pointer moves over its own area.
#pragma once

#include <QWidget>
#include <cstdint>

namespace kv {

class FrameBox : public QWidget {
  Q_OBJECT

 public:
  FrameBox(bool bordered, QWidget* parent = nullptr);
  void set_caption(const QString& caption);
  void set_back(std::uint32_t bgr);
  QString caption() const { return caption_; }

 signals:
  void moved();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  bool bordered_;
  QString caption_;
};

}  // namespace kv
