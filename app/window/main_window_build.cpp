// Creating the window's widgets from the layout table and connecting them to the
// handlers: clicks and pointer moves go to app/commands, edits go to the controls model.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <cstring>

#include "app/commands/commands.h"
#include "app/commands/simulation_window.h"
#include "app/state/form1.h"
#include "app/window/backdrop.h"
#include "app/window/design_canvas.h"
#include "app/window/frame_box.h"
#include "app/window/layout.h"
#include "app/window/main_window.h"
#include "app/window/surface_view.h"
#include "app/window/sweep_dialog.h"
#include "app/window/sweep_window.h"
#include "app/window/text_control.h"
#include "app/window/vertical_text.h"
#include "app/window/window_style.h"

namespace kv {

using layout::Kind;

namespace {
Surface* surface_of(Form1& f, Ctl c) {
  switch (c) {
    case Ctl::Picture1:
      return &f.Picture1;
    case Ctl::Picture2:
      return &f.Picture2;
    case Ctl::Picture4:
      return &f.Picture4;
    default:
      return nullptr;
  }
}

bool is_symbol_text(std::string_view text) {
  return text == "-p" || text == "p";
}
}  // namespace

void MainWindow::build() {
  for (const layout::ControlPlace& p : layout::controls()) {
    QWidget* parent = p.parent == layout::kWindow ? static_cast<QWidget*>(canvas_)
                                                  : widgets_[static_cast<int>(p.parent)];
    QWidget* w = make_widget(p.ctl, parent);
    w->setObjectName(QString::fromUtf8(control_name(p.ctl).data(),
                                       static_cast<qsizetype>(control_name(p.ctl).size())));
    widgets_[static_cast<int>(p.ctl)] = w;
    const layout::TwipRect abs = layout::absolute(p.ctl);
    const layout::TwipRect container =
        p.parent == layout::kWindow ? layout::TwipRect{} : layout::absolute(p.parent);
    canvas_->place(w, abs, p.parent == layout::kWindow ? nullptr : &container, p.font_pt, p.bold);
    wire(p.ctl, w);
    if (p.kind == Kind::Unused) w->hide();
  }
  build_fixed_texts();
  build_sweep_button();
  connect(canvas_, &DesignCanvas::moved, this, [this] { pointer_moved(layout::kWindow); });
  connect(canvas_, &DesignCanvas::clicked, this,
          [this] { run_command([this] { Form_Click(f_); }); });
}

QWidget* MainWindow::make_widget(Ctl c, QWidget* parent) {
  const layout::ControlPlace& p = *layout::find(c);
  switch (p.kind) {
    case Kind::PanelButton:
      return new TextControl(TextControl::Border::Sunken, p.align, parent);
    case Kind::TextBox: {
      auto* t = new TextControl(TextControl::Border::Sunken, p.align, parent);
      t->set_word_wrap(c == Ctl::Text67 || c == Ctl::Text39);
      return t;
    }
    case Kind::Label: {
      auto* t = new TextControl(TextControl::Border::None, p.align, parent);
      t->set_word_wrap(c == Ctl::Text58);
      // The plot titles are dark blue on white; the other labels sit on their background.
      t->set_transparent(c != Ctl::Label2 && c != Ctl::Label3);
      return t;
    }
    case Kind::Frame:
      return new FrameBox(true, parent);
    case Kind::LabelGroup:
      return new FrameBox(false, parent);
    case Kind::Surface: {
      auto* v = new SurfaceView(*surface_of(f_, c), parent);
      surfaces_.push_back(v);
      return v;
    }
    case Kind::Vertical:
      return new VerticalText(c == Ctl::Image3 ? QStringLiteral("POWER (DB)")
                                               : QStringLiteral("VELOCITY (radian/second)"),
                              qcolor(layout::kBlue), parent);
    case Kind::Backdrop:
      return new Backdrop(c == Ctl::Picture3 ? QColor(128, 0, 0) : QColor(70, 90, 130), parent);
    case Kind::ScrollBar: {
      auto* s = new QScrollBar(Qt::Horizontal, parent);
      s->setRange(0, 5);
      s->setSingleStep(1);
      s->setPageStep(1);
      return s;
    }
    case Kind::List: {
      auto* l = new QListWidget(parent);
      l->addItems({QStringLiteral("Parzen"), QStringLiteral("Hanning"), QStringLiteral("Welch"),
                   QStringLiteral("Square")});
      l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      return l;
    }
    case Kind::Edit:
      return new QLineEdit(parent);
    case Kind::Check:
      return new QCheckBox(parent);
    case Kind::Push:
    case Kind::Unused:
      return new QPushButton(parent);
  }
  return new QWidget(parent);
}

void MainWindow::wire(Ctl c, QWidget* w) {
  const Kind kind = layout::find(c)->kind;
  if (auto* t = qobject_cast<TextControl*>(w); t && kind == Kind::PanelButton) {
    connect(t, &TextControl::moved, this, [this, c] { pointer_moved(c); });
    connect(t, &TextControl::clicked, this, [this, c] { click(c); });
  }
  if (c == Ctl::Frame8 || c == Ctl::Frame12)
    connect(static_cast<FrameBox*>(w), &FrameBox::moved, this, [this, c] { pointer_moved(c); });
  if (c == Ctl::Picture1)
    connect(static_cast<SurfaceView*>(w), &SurfaceView::moved, this,
            [this] { pointer_moved(Ctl::Picture1); });
  if (c == Ctl::Picture1 || c == Ctl::Picture2)
    connect(static_cast<SurfaceView*>(w), &SurfaceView::menu_requested, this,
            [this, c](QPoint global) { open_plot_menu(c, global); });
  if (auto* b = qobject_cast<QCheckBox*>(w)) {
    // The box has toggled already; the model learns the new state, then the handler runs.
    connect(b, &QCheckBox::clicked, this, [this, c](bool checked) {
      f_.ui.set_checked(c, checked);
      click(c);
    });
  }
  if (kind == Kind::Push)
    connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this, [this, c] { click(c); });
  if (auto* e = qobject_cast<QLineEdit*>(w))
    connect(e, &QLineEdit::textEdited, this,
            [this, c](const QString& s) { f_.ui.set_text(c, s.toStdString()); });
  if (auto* s = qobject_cast<QScrollBar*>(w)) {
    connect(s, &QScrollBar::valueChanged, this, [this, c](int v) {
      f_.ui.set_value(c, v);
      click(c);
    });
  }
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    connect(l, &QListWidget::itemClicked, this, [this, c, l](QListWidgetItem* item) {
      f_.ui.set_value(c, l->row(item));
      click(c);
    });
  }
}

// "Sweep…" in the free space right of "Cancel", the size of the panel's buttons' height.
void MainWindow::build_sweep_button() {
  QWidget* panel = widgets_[static_cast<int>(Ctl::Frame21)];
  sweep_button_ = new QPushButton(QString::fromUtf8("Sweep\u2026"), panel);
  sweep_button_->setObjectName(QStringLiteral("sweep_button"));
  sweep_button_->setToolTip(
      QStringLiteral("An orbit diagram or a Lyapunov map over these parameters"));
  const layout::TwipRect container = layout::absolute(Ctl::Frame21);
  const layout::TwipRect place{container.left + layout::kSweepButton.left,
                               container.top + layout::kSweepButton.top, layout::kSweepButton.width,
                               layout::kSweepButton.height};
  canvas_->place(sweep_button_, place, &container, 8.25, false);
  connect(sweep_button_, &QPushButton::clicked, this, [this] { open_sweep_dialog(); });
}

void MainWindow::open_sweep_dialog() {
  if (f_.command_running) return;
  SweepDialog dialog(panel_texts(f_), this);
  if (dialog.exec() == QDialog::Accepted) show_sweep(dialog.request());
}

SweepWindow* MainWindow::show_sweep(const SweepRequest& r) {
  if (!sweep_window_) sweep_window_ = new SweepWindow(f_.sys.dialogs, f_.program_dir, this);
  sweep_window_->show();
  sweep_window_->raise();
  sweep_window_->start(r);
  return sweep_window_;
}

void MainWindow::build_fixed_texts() {
  for (const layout::FixedText& t : layout::fixed_texts()) {
    QWidget* parent = widgets_[static_cast<int>(t.parent)];
    auto* w = new TextControl(TextControl::Border::None, t.align, parent);
    w->set_transparent(true);
    w->set_colors(0xFFFFFF, t.color);
    w->set_text(display_text(std::string(t.text), is_symbol_text(t.text)));
    const layout::TwipRect container = layout::absolute(t.parent);
    canvas_->place(w, layout::absolute(t), &container, t.font_pt, t.bold);
    if (*t.name) {
      w->setObjectName(QString::fromUtf8(t.name));
      named_fixed_.emplace_back(t.name, w);
    }
    if (std::strcmp(t.name, "Text57") == 0)
      connect(w, &TextControl::moved, this, [this] {
        if (f_.command_running) return;
        Text57_MouseMove(f_);
        sync();
      });
  }
}

}  // namespace kv
