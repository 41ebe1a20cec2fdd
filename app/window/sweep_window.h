// The window of a sweep: the orbit diagram or Lyapunov map fills as the cells finish (the
// engine runs on a thread of its own, sweep/sweep_session.h), with the cells done in the
// bottom bar, HALT (and Escape) to stop it through its run control, Clear, and Back to the
// view before the last zoom. Dragging a rectangle over the picture recomputes that region
// at full resolution; the right-click menu saves the picture as PNG or the data as the
// CSV file kestavor-cli sweep writes. The picture is painted by sweep/qt, the logic is the
// session's: this only shows it and passes the user's actions on.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <string>

#include "platform/services.h"
#include "sweep/sweep_session.h"

class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace kv {

class SweepPlot;

class SweepWindow : public QWidget {
  Q_OBJECT

 public:
  // Files are chosen and failures told through `dialogs`, which must outlive the window;
  // the file dialogs start in `folder`.
  SweepWindow(Dialogs& dialogs, std::string folder, QWidget* parent = nullptr);
  ~SweepWindow() override;

  void start(const SweepRequest& r);
  SweepSession& session() { return session_; }
  // The picture as painted now (the plot's size).
  QImage picture() const;

  // The user's actions (the buttons, Escape, the drag, the menu).
  void halt();
  void clear();
  void back();
  // A rectangle dragged over the picture, in the plot's pixels.
  void zoom_to(QRect dragged);
  QMenu* open_menu(QPoint global);
  void save_picture();
  void save_data();
  // Takes the finished cells into the picture and brings the bar up to date.
  void update_view();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  Dialogs& dialogs_;
  std::string folder_;
  SweepSession session_;
  SweepPlot* plot_;
  QLabel* status_;
  QPushButton *halt_, *clear_, *back_;
  QTimer* timer_;
  QPointer<QMenu> menu_;
};

}  // namespace kv
