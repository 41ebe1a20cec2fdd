#include "tests/window/window_test_support.h"

#include <QTest>
#include <QWindow>

namespace kv::test {

QApplication& app() {
  static int argc = 1;
  static char name[] = "test_window";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(argc, argv);
  return application;
}

namespace {
Services services_for(QtServices& qt, ScriptedDialogs& d, RecordingHelpViewer& h, bool qt_help) {
  return Services{d,       qt.pump,  qt.clock, qt_help ? static_cast<HelpViewer&>(qt.help) : h,
                  qt.pump, qt.timer1};
}
}  // namespace

Rig::Rig(bool qt_help, QSize size) : f(services_for(qt, dialogs, help, qt_help)), w(f) {
  w.resize(size);
  w.show();
  exposed = QTest::qWaitForWindowExposed(&w);
}

bool Rig::start_connected() {
  return w.start(std::make_unique<TestBox>(&box_closed));
}

bool Rig::start_unconnected(bool answer_exit) {
  dialogs.yes_no_answers.push_back(answer_exit);
  return w.start(nullptr);
}

QPoint Rig::centre_in_window(QWidget* widget) const {
  return widget->mapTo(&w, widget->rect().center());
}

std::uint32_t Rig::shown_back(Ctl c) const {
  const QColor col = widget(c)->palette().color(QPalette::Active, QPalette::Window);
  return static_cast<std::uint32_t>(col.red()) | static_cast<std::uint32_t>(col.green()) << 8 |
         static_cast<std::uint32_t>(col.blue()) << 16;
}

}  // namespace kv::test
