// The Qt dialogs: file-dialog filters, the folder each kind of file's dialogs start in
// (remembered across runs), and answering a dialog that a running command shows
// (held-back input must not lock the user out of it).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "app/commands/commands.h"
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

TEST(QtDialogs, FileDialogsStartInTheFolderLastUsedForTheirKindAcrossRuns) {
  Rig r;
  ASSERT_TRUE(r.start_connected());
  QTemporaryDir tmp;
  const QString first = tmp.filePath(QStringLiteral("first")), used = tmp.filePath("used");
  QDir().mkpath(first);
  QDir().mkpath(used);
  const std::string settings = tmp.filePath(QStringLiteral("settings.ini")).toStdString();
  // One dialog of a kind: where it started, then the file chosen in it.
  const auto dialog = [&](QtDialogs& d, const std::string& filter, const QString& pick) {
    QString started;
    DialogAnswer answer([&](QWidget* w) {
      auto* fd = static_cast<QFileDialog*>(w);
      started = fd->directory().absolutePath();
      fd->selectFile(QDir(used).filePath(pick));
      fd->accept();
    });
    std::string chosen;
    r.w.run_command([&] {
      chosen = filter.front() == '(' ? d.save_file(filter, "*.pha", first.toStdString(), "")
                                     : d.open_file(filter, first.toStdString(), "");
    });
    EXPECT_FALSE(answer.gave_up);
    EXPECT_EQ(chosen, QDir(used).filePath(pick).toStdString());
    return started;
  };
  QtDialogs run1;
  run1.set_settings_file(settings);
  std::ofstream(QDir(used).filePath("a.pha").toStdString()) << " 1 \r\nPHASE\r\n";
  EXPECT_EQ(dialog(run1, "*.pha|*.pha", "a.pha"), first) << "a first dialog of its kind";
  EXPECT_EQ(dialog(run1, "(*.pha)|*.pha", "b.pha"), used) << "saving an orbit file";
  QtDialogs run2;  // the program started again
  run2.set_settings_file(settings);
  EXPECT_EQ(dialog(run2, "*.pha|*.pha", "a.pha"), used);
  std::ofstream(QDir(used).filePath("c.poi").toStdString()) << " 1 \r\nPOINCARE\r\n";
  EXPECT_EQ(dialog(run2, "*.poi|*.poi", "c.poi"), first) << "another kind starts on its own";

  // Plot file offers the three kinds together first.
  r.dialogs.open_answers = {""};
  Text8_Click(r.f);
  ASSERT_EQ(r.dialogs.count("open"), 1);
  EXPECT_TRUE(qt_name_filters(r.dialogs.shown.back().text)
                  .first()
                  .endsWith(QStringLiteral("(*.pha *.poi *.fft)")));
}

}  // namespace
}  // namespace kv::test
