#include "platform/qt/qt_help_viewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

#ifndef KV_HELP_DIR_FROM_BIN
#define KV_HELP_DIR_FROM_BIN "../share/kestavor"
#endif

namespace kv {

QtHelpViewer::~QtHelpViewer() {
  delete browser_.data();
}

QString QtHelpViewer::locate(const std::string& help_file) {
  const QString name = QString::fromStdString(help_file);
  if (QFileInfo(name).isAbsolute()) return QFileInfo::exists(name) ? name : QString();
  const QString bin = QCoreApplication::applicationDirPath();
  for (const QString& dir :
       {bin, QDir(bin).filePath(QStringLiteral(KV_HELP_DIR_FROM_BIN)), QDir::currentPath()}) {
    const QString path = QDir(dir).filePath(name);
    if (QFileInfo::exists(path)) return QFileInfo(path).absoluteFilePath();
  }
  return {};
}

void QtHelpViewer::open_contents(const std::string& help_file) {
  if (!browser_) {
    browser_ = new QTextBrowser;
    browser_->setAttribute(Qt::WA_DeleteOnClose, false);
    browser_->setOpenExternalLinks(true);
    browser_->resize(640, 720);
  }
  browser_->setWindowTitle(QStringLiteral("Help - ") + QString::fromStdString(help_file));
  const QString path = locate(help_file);
  if (path.isEmpty()) {
    browser_->setHtml(QStringLiteral("<h2>Help file not found</h2><p>The help file <b>%1</b> "
                                     "was not found beside the program (%2), in its data "
                                     "folder (%3) nor in the current folder (%4).</p>")
                          .arg(QString::fromStdString(help_file).toHtmlEscaped(),
                               QCoreApplication::applicationDirPath().toHtmlEscaped(),
                               QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                                                   .filePath(QStringLiteral(KV_HELP_DIR_FROM_BIN)))
                                   .toHtmlEscaped(),
                               QDir::currentPath().toHtmlEscaped()));
  } else {
    // The file name does not tell the browser its type: it is HTML.
    browser_->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
  }
  browser_->moveCursor(QTextCursor::Start);
  browser_->show();
  browser_->raise();
  browser_->activateWindow();
}

void QtHelpViewer::quit() {
  if (browser_) browser_->close();
}

QTextBrowser* QtHelpViewer::browser() const {
  return browser_.data();
}

bool QtHelpViewer::is_open() const {
  return browser_ && browser_->isVisible();
}

}  // namespace kv
