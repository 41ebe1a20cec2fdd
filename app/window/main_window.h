// The program's window: the 1024 x 768 design, scaled to the screen, as a view of Form1.
//
// Widgets mirror the controls model (Form1::ui) and the picture surfaces; every click and
// pointer move calls the handler of app/commands that the design names. A click runs as a
// command: Form1::command_running is set and, with the Qt input pump, other user input is
// held back until it ends; the view is brought up to date afterwards. Works with any
// services: with the Qt ones (platform/qt) it also wires the pointer mapping, the pump's
// view updates, the dialogs' parent and Timer1.
#pragma once

#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "app/state/controls.h"
#include "platform/interface_box.h"
#include "platform/services.h"

class QMenu;
class QPushButton;
class QTimer;

namespace kv {

struct Form1;
class DesignCanvas;
class SurfaceView;
class TextControl;
class QtInputPump;
class QtTimer;
class SweepWindow;
struct SweepRequest;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(Form1& f, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The window load with the box start-up opened (null when none), run as a command.
  // False when the program is to end (the user answered Yes to "Exit the program?").
  bool start(std::unique_ptr<InterfaceBox> box, const std::string& why_no_box = {});

  // Runs `body` as a command: never re-entered, input held back meanwhile, the view
  // brought up to date afterwards, the window closed if the command asked to end.
  void run_command(const std::function<void()>& body);

  // Applies the controls that changed in the model and repaints refreshed surfaces
  // (every surface when `all_surfaces`).
  void sync(bool all_surfaces = false);

  Form1& form() { return f_; }
  QWidget* control(Ctl c) const { return widgets_[static_cast<int>(c)]; }
  // A fixed text by its design name ("Text57"), or null.
  QWidget* fixed_text(std::string_view name) const;
  DesignCanvas* canvas() const { return canvas_; }
  // A global screen position in the design's pixels.
  DesignPoint global_to_design(QPointF global) const;

  // The picture of a plot with the axis labels and title around it: Picture1 (the phase
  // plot or the spectrum, whichever labels are shown) or Picture2 (the Poincare plot),
  // at `factor` times the screen's device resolution.
  QImage plot_picture(Ctl surface, double factor = 2.0) const;
  // The window area plot_picture takes, in the canvas's coordinates.
  QRect plot_picture_rect(Ctl surface) const;
  // The right-click menu of a plot: "Save picture as PNG…" and "Copy picture". Opens at
  // a global position and returns the menu; null while a command runs.
  QMenu* open_plot_menu(Ctl surface, QPoint global);

  // "Sweep…" beside the simulation panel's buttons: the sweep dialog over the panel's
  // texts now, then the sweep window (one, reused) running the request it made.
  void open_sweep_dialog();
  SweepWindow* show_sweep(const SweepRequest& r);
  QPushButton* sweep_button() const { return sweep_button_; }

 signals:
  // The program has ended ("Exit program", or the window was closed).
  void program_ended();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  // F1 "Help", Ctrl+O "Plot file", Ctrl+P "Print", Ctrl+Q "Exit program": the same
  // handlers as the clicks. Keys reach the window when no control takes them; while a
  // command runs the input pump holds them back and delivers them after it.
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void build();
  void build_fixed_texts();
  void build_sweep_button();
  QWidget* make_widget(Ctl c, QWidget* parent);
  void wire(Ctl c, QWidget* w);
  void apply(Ctl c);
  void place_status();
  void click(Ctl c);
  void pointer_moved(Ctl c);
  void timer1_tick();
  void set_timer1_running(bool on);
  void end_program();
  void save_plot_picture(Ctl surface);

  Form1& f_;
  DesignCanvas* canvas_ = nullptr;
  std::array<QWidget*, kControlCount> widgets_{};
  std::vector<std::pair<std::string_view, QWidget*>> named_fixed_;
  std::vector<SurfaceView*> surfaces_;
  QtInputPump* pump_ = nullptr;
  QtTimer* qt_timer_ = nullptr;
  QTimer* own_timer1_ = nullptr;
  std::uint64_t synced_version_ = ~std::uint64_t{0};
  bool closing_ = false;
  QPointer<QMenu> plot_menu_;
  QPushButton* sweep_button_ = nullptr;
  QPointer<SweepWindow> sweep_window_;
};

}  // namespace kv
