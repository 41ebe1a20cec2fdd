// The Qt dialogs: file-dialog filters, and answering a dialog that a running command shows
// (held-back input must not lock the user out of it).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_file_filters.h"
#include "tests/window/window_test_support.h"

namespace kv::test {
namespace {

TEST(QtFileFilters, ProgramFiltersBecomeQtNameFilters) {
  app();
  EXPECT_EQ(qt_name_filters("(*.pha)|*.pha"), QStringList{QStringLiteral("(*.pha)")});
  EXPECT_EQ(qt_name_filters("*.pha|*.pha"), QStringList{QStringLiteral("*.pha")});
  EXPECT_EQ(qt_name_filters("Orbit files|*.pha;*.txt|All files|*.*"),
            (QStringList{QStringLiteral("Orbit files (*.pha *.txt)"),
                         QStringLiteral("All files (*.*)")}));
  EXPECT_EQ(qt_name_filters("*.fft"), QStringList{QStringLiteral("*.fft")});
  EXPECT_EQ(qt_name_filters(""), QStringList{QStringLiteral("*")});
}

// The folder chosen last is remembered per kind of file (an open and a save dialog of
// orbit files share it; Poincare files have their own), and forgotten once it is gone.
TEST(QtDialogs, RememberTheLastFolderOfEachKindOfFile) {
  app();
  const QString root = QDir::temp().filePath(QStringLiteral("kestavor-folders"));
  QDir(root).removeRecursively();
  ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/runs")));
  QtDialogs d;
  d.set_settings_file((root + QStringLiteral("/settings.ini")).toStdString());
  const std::string start = root.toStdString();
  EXPECT_EQ(d.start_folder("*.pha|*.pha", start), root);
  d.remember_folder("*.pha|*.pha", root + QStringLiteral("/runs/a.pha"));
  EXPECT_EQ(d.start_folder("(*.pha)|*.pha", start), root + QStringLiteral("/runs"));
  EXPECT_EQ(d.start_folder("(*.poi)|*.poi", start), root);
  QtDialogs later;  // another run of the program, the same settings
  later.set_settings_file((root + QStringLiteral("/settings.ini")).toStdString());
  EXPECT_EQ(later.start_folder("*.pha|*.pha", start), root + QStringLiteral("/runs"));
  QDir(root + QStringLiteral("/runs")).removeRecursively();
  EXPECT_EQ(later.start_folder("*.pha|*.pha", start), root);
  QDir(root).removeRecursively();
}

// Clicks a button of the modal dialog once it is up, through the window system as a user
// would. Gives up (closing the dialog) after two seconds so a lock-out fails the test
// instead of hanging it.
struct DialogAnswer {
  bool answered = false;
  bool gave_up = false;
  explicit DialogAnswer(std::function<void(QWidget*)> act) {
    QTimer::singleShot(50, [this, act] {
      if (QWidget* d = QApplication::activeModalWidget()) {
        act(d);
        answered = true;
      }
    });
    QTimer::singleShot(2000, [this] {
      if (QWidget* d = QApplication::activeModalWidget()) {
        gave_up = true;
        d->close();
      }
    });
  }
};

TEST(QtDialogs, AMessageBoxShownByACommandTakesTheUsersClick) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  DialogAnswer answer([](QWidget* d) {
    auto* ok = static_cast<QMessageBox*>(d)->button(QMessageBox::Ok);
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  r.w.run_command(
      [&] { r.qt.dialogs.message("continue", "Chaotic pendulum", MsgIcon::Information); });
  EXPECT_TRUE(answer.answered);
  EXPECT_FALSE(answer.gave_up);
  EXPECT_EQ(r.qt.pump.held_count(), 0u);
}

TEST(QtDialogs, InputBoxReturnsTheTypedTextAndEmptyOnCancel) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  std::string reply = "x";
  DialogAnswer typed([](QWidget* d) {
    auto* edit = d->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("250"));
    QTest::keyClick(edit, Qt::Key_Return);
  });
  r.w.run_command([&] {
    reply = r.qt.dialogs.input_box("Enter number of data points", "number of points", "1000");
  });
  EXPECT_FALSE(typed.gave_up);
  EXPECT_EQ(reply, "250");

  DialogAnswer cancelled([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
  r.w.run_command([&] {
    reply = r.qt.dialogs.input_box("Enter number of data points", "number of points", "1000");
  });
  EXPECT_FALSE(cancelled.gave_up);
  EXPECT_EQ(reply, "");
}

}  // namespace
}  // namespace kv::test
