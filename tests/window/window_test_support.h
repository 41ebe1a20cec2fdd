// A shown main window on the offscreen platform for the window tests: the Qt pointer, pump,
// timer and (optionally) help viewer, with scripted dialogs whose answers a test sets.
#pragma once

#include <QApplication>
#include <QPoint>
#include <memory>

#include "app/state/form1.h"
#include "app/window/main_window.h"
#include "platform/interface_box.h"
#include "platform/qt/qt_services.h"
#include "tests/support/scripted_services.h"

namespace kv::test {

// The one application of the test program (offscreen platform).
QApplication& app();

// A connected box that counts its reads and remembers being closed.
class TestBox : public InterfaceBox {
 public:
  explicit TestBox(bool* closed) : closed_(closed) {}
  BoxRead read(SampleRecord& record, int) override {
    record = SampleRecord{0, 0, 0, 0, 0, 0};
    return BoxRead::Ok;
  }
  void close() override {
    if (closed_) *closed_ = true;
  }
  std::string name() const override { return "test box"; }

 private:
  bool* closed_;
};

struct AppInit {
  AppInit() { app(); }
};

struct Rig {
  explicit Rig(bool qt_help = false, QSize size = QSize(1024, 768));
  AppInit init;
  QtServices qt;
  ScriptedDialogs dialogs;
  RecordingHelpViewer help;
  Form1 f;
  MainWindow w;
  bool box_closed = false;
  bool exposed = false;

  // Start-up with a connected box, or without one answering the exit question.
  bool start_connected();
  bool start_unconnected(bool answer_exit);
  // A control's widget and its centre in the window's coordinates.
  QWidget* widget(Ctl c) const { return w.control(c); }
  QPoint centre_in_window(QWidget* widget) const;
  QPoint centre_in_window(Ctl c) const { return centre_in_window(widget(c)); }
  // Colour of a panel button as its widget shows it, 0x00BBGGRR.
  std::uint32_t shown_back(Ctl c) const;
};

}  // namespace kv::test
