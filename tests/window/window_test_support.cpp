#include "tests/window/window_test_support.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWindow>

namespace kv::test {

namespace {
QApplication* the_app = nullptr;

// Ends the application after the last test, before the program's static objects go.
class AppEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    delete the_app;
    the_app = nullptr;
  }
};
const auto* const kAppEnvironment = ::testing::AddGlobalTestEnvironment(new AppEnvironment);
}  // namespace

QApplication& app() {
  static int argc = 1;
  static char name[] = "test_window";
  static char* argv[] = {name, nullptr};
  if (!the_app) {
    // Offscreen unless a platform is chosen (the tests also run on a real X server).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    the_app = new QApplication(argc, argv);
  }
  return *the_app;
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
