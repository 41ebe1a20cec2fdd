#include "app/window/sweep_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "app/commands/window_run_control.h"
#include "sweep/qt/sweep_painter.h"

#ifndef KESTAVOR_VERSION
#define KESTAVOR_VERSION "0"
#endif

namespace kv {

// The picture, painted at the widget's size when it changed, with the rectangle being
// dragged over it.
class SweepPlot : public QWidget {
 public:
  SweepPlot(const SweepSession& session, QWidget* parent) : QWidget(parent), session_(session) {
    setMinimumSize(480, 320);
    setMouseTracking(false);
  }
  std::function<void(QRect)> dragged;
  std::function<void(QPoint)> menu;

  void changed() {
    stale_ = true;
    update();
  }
  const QImage& image() {
    if (stale_ || image_.size() != size()) {
      image_ = paint_sweep_picture(session_.view().picture, width(), height());
      stale_ = false;
    }
    return image_;
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(0, 0, image());
    if (dragging_) {
      p.setPen(QPen(Qt::white, 1, Qt::DashLine));
      p.setBrush(QColor(255, 255, 255, 40));
      p.drawRect(QRect(from_, to_).normalized());
    }
  }
  void contextMenuEvent(QContextMenuEvent* e) override {
    if (menu) menu(e->globalPos());
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton) return;
    dragging_ = true;
    from_ = to_ = e->position().toPoint();
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!dragging_) return;
    to_ = e->position().toPoint();
    update();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (!dragging_ || e->button() != Qt::LeftButton) return;
    dragging_ = false;
    to_ = e->position().toPoint();
    update();
    const QRect r = QRect(from_, to_).normalized();
    if (r.width() > 3 && dragged) dragged(r);
  }

 private:
  const SweepSession& session_;
  QImage image_;
  bool stale_ = true, dragging_ = false;
  QPoint from_, to_;
};

SweepWindow::SweepWindow(Dialogs& dialogs, std::string folder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      dialogs_(dialogs),
      folder_(std::move(folder)),
      session_(1000, 600) {
  setObjectName(QStringLiteral("sweep_window"));
  setWindowTitle(QStringLiteral("Sweep"));
  auto* top = new QVBoxLayout(this);
  plot_ = new SweepPlot(session_, this);
  plot_->setObjectName(QStringLiteral("sweep_plot"));
  plot_->dragged = [this](QRect r) { zoom_to(r); };
  plot_->menu = [this](QPoint g) { open_menu(g); };
  top->addWidget(plot_, 1);
  auto* bar = new QHBoxLayout;
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("sweep_status"));
  halt_ = new QPushButton(QStringLiteral("HALT"), this);
  clear_ = new QPushButton(QStringLiteral("Clear"), this);
  back_ = new QPushButton(QStringLiteral("Back"), this);
  halt_->setObjectName(QStringLiteral("sweep_halt"));
  halt_->setToolTip(QStringLiteral("Stops the sweep (Esc)"));
  clear_->setToolTip(QStringLiteral("Stops the sweep and empties the picture"));
  back_->setToolTip(QStringLiteral("Returns to the view before the last zoom"));
  back_->setObjectName(QStringLiteral("sweep_back"));
  bar->addWidget(status_, 1);
  for (QPushButton* b : {halt_, clear_, back_}) {
    b->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(b);
  }
  top->addLayout(bar);
  connect(halt_, &QPushButton::clicked, this, [this] { halt(); });
  connect(clear_, &QPushButton::clicked, this, [this] { clear(); });
  connect(back_, &QPushButton::clicked, this, [this] { back(); });
  timer_ = new QTimer(this);
  timer_->setInterval(40);
  connect(timer_, &QTimer::timeout, this, [this] { update_view(); });
  resize(1000, 680);
}

SweepWindow::~SweepWindow() = default;

void SweepWindow::start(const SweepRequest& r) {
  session_.start(r);
  plot_->changed();
  timer_->start();
  update_view();
}

QImage SweepWindow::picture() const {
  return plot_->image();
}

void SweepWindow::update_view() {
  if (session_.poll()) plot_->changed();
  const SweepView& v = session_.view();
  const std::string kind = v.request.kind == SweepKind::orbit ? "Orbit diagram" : "Lyapunov map";
  std::string text;
  if (session_.running()) {
    text =
        kind + ": " + std::to_string(session_.done()) + " of " + counted(session_.total(), "cell");
  } else if (!v.ended) {
    text = kind + ": cleared";
  } else if (v.outcome.halted()) {
    text = kind + ": stopped after " + counted(static_cast<std::int64_t>(v.cells.size()), "cell") +
           " of " + std::to_string(session_.total());
  } else if (v.outcome.done()) {
    text = kind + ": " + counted(v.outcome.cells, "cell");
    if (v.outcome.unstable) text += ", " + std::to_string(v.outcome.unstable) + " blew up";
    if (v.outcome.refused) text += ", " + std::to_string(v.outcome.refused) + " refused";
    text += " (drag a rectangle to look closer)";
  } else {
    text = kind + ": " + v.outcome.reason;
  }
  status_->setText(QString::fromStdString(text));
  halt_->setEnabled(session_.running());
  back_->setEnabled(session_.can_go_back());
  if (!session_.running()) timer_->stop();
}

void SweepWindow::halt() {
  session_.halt();
}

void SweepWindow::clear() {
  session_.clear();
  plot_->changed();
  update_view();
}

void SweepWindow::back() {
  if (!session_.back()) return;
  plot_->changed();
  if (session_.running()) timer_->start();
  update_view();
}

void SweepWindow::zoom_to(QRect r) {
  const SweepPlotArea a = sweep_plot_area(plot_->width(), plot_->height());
  const auto across = [&](int x) { return std::clamp(double(x - a.left) / a.width, 0.0, 1.0); };
  const auto up = [&](int y) { return std::clamp(1.0 - double(y - a.top) / a.height, 0.0, 1.0); };
  if (!session_.zoom(across(r.left()), across(r.right() + 1), up(r.bottom() + 1), up(r.top())))
    return;
  plot_->changed();
  timer_->start();
  update_view();
}

QMenu* SweepWindow::open_menu(QPoint global) {
  if (menu_) menu_->close();
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->setObjectName(QStringLiteral("sweep_menu"));
  menu->addAction(QString::fromUtf8("Save picture as PNG\u2026"), this, [this] { save_picture(); });
  menu->addAction(QString::fromUtf8("Save data as\u2026"), this, [this] { save_data(); });
  menu_ = menu;
  menu->popup(global);
  return menu;
}

void SweepWindow::save_picture() {
  const std::string path = dialogs_.save_file("(*.png)|*.png", "*.png", folder_, "");
  if (path.empty()) return;
  std::string error;
  if (!write_sweep_png(session_.view().picture, 1200, 800, path, error))
    dialogs_.message(error, "File error", MsgIcon::Critical);
}

void SweepWindow::save_data() {
  const std::string path = dialogs_.save_file("(*.csv)|*.csv", "*.csv", folder_, "");
  if (path.empty()) return;
  if (std::string e = session_.save_data(path, KESTAVOR_VERSION); !e.empty())
    dialogs_.message(e, "File error", MsgIcon::Critical);
}

void SweepWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    halt();
    e->accept();
    return;
  }
  QWidget::keyPressEvent(e);
}

void SweepWindow::closeEvent(QCloseEvent* e) {
  session_.halt();
  session_.clear();
  timer_->stop();
  e->accept();
}

}  // namespace kv
