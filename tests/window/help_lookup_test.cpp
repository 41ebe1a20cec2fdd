// Where the help viewer finds the help file: beside the program (the build folder), else in
// the installed data folder ../share/kestavor seen from the program's folder, else in the
// current folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "platform/qt/qt_help_viewer.h"
#include "tests/window/window_test_support.h"

namespace kv {
namespace {

void make_file(const QString& path, const char* text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

TEST(HelpLookup, BesideTheProgramThenItsDataFolderThenTheCurrentFolder) {
  test::app();
  const QDir bin(QCoreApplication::applicationDirPath());
  const QString name =
      QStringLiteral("kv_lookup_test_%1.hlp").arg(QCoreApplication::applicationPid());
  const QString share_dir = QDir::cleanPath(bin.filePath(QStringLiteral("../share/kestavor")));
  const bool share_existed = QDir(share_dir).exists();
  const QString installed = QDir(share_dir).filePath(name), beside = bin.filePath(name);

  EXPECT_TRUE(QtHelpViewer::locate(name.toStdString()).isEmpty());
  make_file(installed, "installed");
  EXPECT_EQ(QtHelpViewer::locate(name.toStdString()), QFileInfo(installed).absoluteFilePath());
  make_file(beside, "beside");
  EXPECT_EQ(QtHelpViewer::locate(name.toStdString()), QFileInfo(beside).absoluteFilePath());

  QFile::remove(beside);
  QFile::remove(installed);
  if (!share_existed) {
    QDir().rmdir(share_dir);
    QDir().rmdir(QFileInfo(share_dir).absolutePath());  // share/, when it is empty now
  }
  EXPECT_TRUE(QtHelpViewer::locate(name.toStdString()).isEmpty());
}

}  // namespace
}  // namespace kv
