// Pictures of the plots: the right-click menu of the phase plot, the spectrum and the
// Poincare plot saves the plot with its axis labels and title as a PNG file, or copies it
// to the clipboard, at twice the screen's resolution.
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <cmath>

#include "app/state/form1.h"
#include "app/window/design_canvas.h"
#include "app/window/layout.h"
#include "app/window/main_window.h"
#include "app/window/window_style.h"
#include "platform/text_files.h"

namespace kv {

namespace {
// A plot and the labels, axis titles and plot title around it. Picture1 carries the
// phase plot's labels or the spectrum's; only those shown are taken.
std::vector<Ctl> plot_parts(Ctl surface) {
  if (surface == Ctl::Picture2)
    return {Ctl::Picture2, Ctl::Label2, Ctl::Frame10, Ctl::Frame9, Ctl::Image2};
  return {Ctl::Picture1, Ctl::Label3,  Ctl::Frame5,  Ctl::Frame8,
          Ctl::Image1,   Ctl::Frame12, Ctl::Frame13, Ctl::Image3};
}
}  // namespace

QRect MainWindow::plot_picture_rect(Ctl surface) const {
  QRect r;
  for (Ctl c : plot_parts(surface)) {
    QWidget* w = widgets_[static_cast<int>(c)];
    if (!w || !w->isVisibleTo(canvas_)) continue;
    r |= QRect(w->mapTo(canvas_, QPoint(0, 0)), w->size());
  }
  // A margin of four design pixels of the form's colour around it.
  const int m = static_cast<int>(std::lround(4 * canvas_->scale()));
  return r.isEmpty() ? r : r.adjusted(-m, -m, m, m).intersected(canvas_->rect());
}

QImage MainWindow::plot_picture(Ctl surface, double factor) const {
  const QRect r = plot_picture_rect(surface);
  if (r.isEmpty()) return {};
  const double dpr = factor * devicePixelRatioF();
  QImage image(QSize(static_cast<int>(std::lround(r.width() * dpr)),
                     static_cast<int>(std::lround(r.height() * dpr))),
               QImage::Format_RGB32);
  image.setDevicePixelRatio(dpr);
  image.fill(qcolor(layout::kFormColor));
  // Each part on its own, so that nothing else of the window that reaches into the area
  // (the other plot's labels, the backdrops) comes along.
  for (Ctl c : plot_parts(surface)) {
    QWidget* w = widgets_[static_cast<int>(c)];
    if (!w || !w->isVisibleTo(canvas_)) continue;
    w->render(&image, w->mapTo(canvas_, QPoint(0, 0)) - r.topLeft(), QRegion(),
              QWidget::DrawChildren);
  }
  image.setDevicePixelRatio(1.0);  // a file or the clipboard takes it pixel for pixel
  return image;
}

QMenu* MainWindow::open_plot_menu(Ctl surface, QPoint global) {
  if (f_.command_running) return nullptr;
  if (plot_menu_) plot_menu_->close();
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->setObjectName(QStringLiteral("plot_menu"));
  menu->addAction(QString::fromUtf8("Save picture as PNG\u2026"), this, [this, surface] {
    run_command([this, surface] { save_plot_picture(surface); });
  });
  menu->addAction(QStringLiteral("Copy picture"), this, [this, surface] {
    if (f_.command_running) return;
    const QImage image = plot_picture(surface);
    if (!image.isNull()) QGuiApplication::clipboard()->setImage(image);
  });
  plot_menu_ = menu;
  menu->popup(global);
  return menu;
}

// Through the dialogs of the services (starting where every file dialog starts) and a
// temporary file moved into place, as every file the program writes.
void MainWindow::save_plot_picture(Ctl surface) {
  const QImage image = plot_picture(surface);
  if (image.isNull()) return;
  const std::string path = f_.sys.dialogs.save_file("(*.png)|*.png", "*.png", f_.program_dir, "");
  if (path.empty()) return;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    f_.sys.dialogs.message("The picture could not be made for " + path + ".", "File error",
                           MsgIcon::Critical);
    return;
  }
  OutputFile out;
  if (!out.open(path)) {
    f_.sys.dialogs.message(out.error(), "File error", MsgIcon::Critical);
    return;
  }
  out.write_raw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  if (!out.commit())
    f_.sys.dialogs.message(out.error() + "\n" + out.what_was_kept(), "File error",
                           MsgIcon::Critical);
}

}  // namespace kv
