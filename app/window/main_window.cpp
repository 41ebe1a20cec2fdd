#include "app/window/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <cmath>
#include <exception>

#include "app/commands/commands.h"
#include "app/state/control_table.h"
#include "app/state/form1.h"
#include "app/window/design_canvas.h"
#include "app/window/frame_box.h"
#include "app/window/layout.h"
#include "app/window/surface_view.h"
#include "app/window/text_control.h"
#include "app/window/window_style.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_input_pump.h"
#include "platform/qt/qt_timer.h"

namespace kv {

namespace {
// The size the window opens at: the design scaled to fit the screen, in quarter steps
// when there is room for more than the design's own size.
QSize initial_size() {
  QRect avail(0, 0, layout::kDesignWidthPx, layout::kDesignHeightPx);
  if (QScreen* s = QGuiApplication::primaryScreen()) avail = s->availableGeometry();
  double scale = std::min(avail.width() / double(layout::kDesignWidthPx),
                          avail.height() / double(layout::kDesignHeightPx));
  if (scale >= 1.0) scale = std::floor(scale * 4.0) / 4.0;
  return QSize(static_cast<int>(layout::kDesignWidthPx * scale),
               static_cast<int>(layout::kDesignHeightPx * scale));
}
}  // namespace

MainWindow::MainWindow(Form1& f, QWidget* parent) : QWidget(parent), f_(f) {
  setWindowTitle(QStringLiteral("Chaotic pendulum"));
  setMinimumSize(layout::kDesignWidthPx / 4, layout::kDesignHeightPx / 4);
  canvas_ = new DesignCanvas(this);
  build();
  // The plots draw at the screen's resolution: a new layout sets their device scale.
  connect(canvas_, &DesignCanvas::rescaled, this, [this] {
    for (SurfaceView* v : surfaces_) v->follow_device_scale();
  });
  resize(initial_size());

  pump_ = dynamic_cast<QtInputPump*>(&f_.sys.pump);
  if (pump_) {
    pump_->set_mapper([this](QPointF g) { return global_to_design(g); });
    pump_->set_before_events([this] { sync(); });
  }
  if (auto* d = dynamic_cast<QtDialogs*>(&f_.sys.dialogs)) d->set_parent(this);
  qt_timer_ = dynamic_cast<QtTimer*>(&f_.sys.timer1);
  if (qt_timer_) {
    qt_timer_->on_tick = [this] { timer1_tick(); };
  } else {
    own_timer1_ = new QTimer(this);
    connect(own_timer1_, &QTimer::timeout, this, [this] {
      if (f_.sys.timer1.enabled()) timer1_tick();
    });
    own_timer1_->setInterval(100);
  }
  // The view follows the model without a timer of its own: a running command's pumps and
  // dialogs sync it first, and so does every handler when it returns; a window at rest
  // is not woken up.
  sync(true);
}

MainWindow::~MainWindow() {
  if (pump_) {
    pump_->set_mapper(nullptr);
    pump_->set_before_events(nullptr);
  }
  if (qt_timer_) qt_timer_->on_tick = nullptr;
}

void MainWindow::resizeEvent(QResizeEvent*) {
  canvas_->setGeometry(rect());
}

bool MainWindow::start(std::unique_ptr<InterfaceBox> box, const std::string& why_no_box) {
  bool keep = false;
  run_command([&] { keep = Form_Load(f_, std::move(box), why_no_box); });
  return keep && !f_.exit_requested;
}

void MainWindow::run_command(const std::function<void()>& body) {
  if (f_.command_running) return;  // a command never starts inside another
  f_.command_running = true;
  if (pump_) pump_->begin_hold();
  std::string failure;
  try {
    body();
  } catch (const std::exception& e) {
    failure = e.what();
  } catch (...) {
    failure = "unknown error";
  }
  f_.command_running = false;
  if (pump_) pump_->end_hold();
  sync(true);
  set_timer1_running(f_.plot_flag != kFalse);
  if (!failure.empty())
    f_.sys.dialogs.message("The command stopped because of an error: " + failure,
                           "Chaotic pendulum", MsgIcon::Critical);
  if (f_.exit_requested) end_program();
}

void MainWindow::sync(bool all_surfaces) {
  if (f_.ui.version() != synced_version_) {
    synced_version_ = f_.ui.version();
    for (int i = 0; i < kControlCount; ++i) {
      const Ctl c = static_cast<Ctl>(i);
      if (!f_.ui.changed(c)) continue;
      f_.ui.clear_changed(c);
      apply(c);
    }
  }
  for (SurfaceView* v : surfaces_) {
    if (all_surfaces)
      v->update();
    else
      v->poll();
  }
}

void MainWindow::apply(Ctl c) {
  QWidget* w = widgets_[static_cast<int>(c)];
  const layout::ControlPlace* place = layout::find(c);
  if (!w || !place) return;
  const ControlProps& p = f_.ui[c];
  if (place->kind != layout::Kind::Unused) w->setVisible(p.visible);
  w->setEnabled(p.enabled);
  const QString tip = QString::fromStdString(p.tooltip);
  if (w->toolTip() != tip) w->setToolTip(tip);
  const QString text = c == Ctl::Text68 ? progress_marks(p.text) : display_text(p.text);
  if (c == Ctl::Text2 || c == Ctl::Text58) place_status();
  switch (place->kind) {
    case layout::Kind::PanelButton:
    case layout::Kind::TextBox:
    case layout::Kind::Label: {
      auto* t = static_cast<TextControl*>(w);
      t->set_colors(p.back_color, p.fore_color);
      t->set_text(text);
      break;
    }
    case layout::Kind::Frame:
      static_cast<FrameBox*>(w)->set_caption(text);
      static_cast<FrameBox*>(w)->set_back(p.back_color);
      break;
    case layout::Kind::LabelGroup:
      static_cast<FrameBox*>(w)->set_back(p.back_color);
      break;
    case layout::Kind::ScrollBar: {
      auto* s = static_cast<QScrollBar*>(w);
      QSignalBlocker block(s);
      s->setValue(p.value);
      break;
    }
    case layout::Kind::List: {
      auto* l = static_cast<QListWidget*>(w);
      QSignalBlocker block(l);
      if (p.value >= 0 && p.value < l->count())
        l->setCurrentRow(p.value);
      else
        l->setCurrentRow(-1);
      break;
    }
    case layout::Kind::Edit: {
      auto* e = static_cast<QLineEdit*>(w);
      if (e->text() != text) {
        QSignalBlocker block(e);
        e->setText(text);
      }
      break;
    }
    case layout::Kind::Check: {
      auto* b = static_cast<QCheckBox*>(w);
      QSignalBlocker block(b);
      b->setText(text);
      b->setChecked(p.checked);
      break;
    }
    case layout::Kind::Push:
      static_cast<QPushButton*>(w)->setText(text);
      break;
    case layout::Kind::Surface:
    case layout::Kind::Vertical:
    case layout::Kind::Backdrop:
    case layout::Kind::Unused:
      break;
  }
}

void MainWindow::place_status() {
  const bool startup = f_.ui[Ctl::Text2].visible;
  canvas_->move_to(widgets_[static_cast<int>(Ctl::Text58)],
                   startup ? layout::absolute(Ctl::Text58) : layout::kStatusRect);
}

void MainWindow::click(Ctl c) {
  if (const ClickHandler handler = control_row(c).click)
    run_command([this, handler] { handler(f_); });
}

namespace {
// The panel button a key stands for; kWindow when none. The captions have no underlined
// letters, so only F1 and Ctrl combinations are used.
Ctl shortcut_control(const QKeyEvent& e) {
  const Qt::KeyboardModifiers mods = e.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                      Qt::AltModifier | Qt::MetaModifier);
  if (e.key() == Qt::Key_F1 && mods == Qt::NoModifier) return Ctl::help;
  if (mods != Qt::ControlModifier) return layout::kWindow;
  switch (e.key()) {
    case Qt::Key_O:
      return Ctl::Text8;  // "Plot file"
    case Qt::Key_P:
      return Ctl::Text16;  // "Print"
    case Qt::Key_Q:
      return Ctl::Text12;  // "Exit program"
    default:
      return layout::kWindow;
  }
}
}  // namespace

void MainWindow::keyPressEvent(QKeyEvent* e) {
  const Ctl c = shortcut_control(*e);
  QWidget* button = c == layout::kWindow ? nullptr : widgets_[static_cast<int>(c)];
  // A key held down repeats; the command runs once. A button the user could not click
  // (hidden or disabled) is not reached by its key either.
  if (!button || e->isAutoRepeat() || f_.command_running || !button->isVisible() ||
      !button->isEnabled()) {
    QWidget::keyPressEvent(e);
    return;
  }
  e->accept();
  click(c);
}

void MainWindow::pointer_moved(Ctl c) {
  if (f_.command_running) return;
  switch (c) {
    case layout::kWindow:
      Form_MouseMove(f_);
      break;
    case Ctl::Frame12:
      Frame12_MouseMove(f_);
      break;
    default:
      mouse_move(f_, c);
      break;
  }
  sync();
}

void MainWindow::timer1_tick() {
  // The tick never runs inside a command, and comes after the clicks a command held back.
  if (f_.command_running || (pump_ && pump_->replaying())) return;
  Timer1_Timer(f_);
  sync();
  set_timer1_running(f_.plot_flag != kFalse);
}

// The tick's only work is to clear plot_flag, so the timer runs only while it is set.
void MainWindow::set_timer1_running(bool on) {
  if (qt_timer_) qt_timer_->set_running(on);
  if (own_timer1_ && on && !own_timer1_->isActive()) own_timer1_->start();
  if (own_timer1_ && !on) own_timer1_->stop();
}

QWidget* MainWindow::fixed_text(std::string_view name) const {
  for (const auto& [n, w] : named_fixed_)
    if (n == name) return w;
  return nullptr;
}

DesignPoint MainWindow::global_to_design(QPointF global) const {
  return canvas_->global_to_design(global);
}

void MainWindow::end_program() {
  if (closing_) return;
  closing_ = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (f_.command_running) {
    e->ignore();
    return;
  }
  // Closing the window ends the program as "Exit program" does (help closed, box closed).
  if (!f_.exit_requested) {
    closing_ = true;
    run_command([this] { Text12_Click(f_); });
  }
  closing_ = true;
  e->accept();
  emit program_ended();
}

}  // namespace kv
