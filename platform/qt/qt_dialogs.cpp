#include "platform/qt/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QSettings>
#include <memory>

#include "platform/qt/qt_file_filters.h"
#include "platform/qt/qt_input_pump.h"

namespace kv {

namespace {
QMessageBox::Icon qt_icon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::Question:
      return QMessageBox::Question;
    case MsgIcon::Warning:
      return QMessageBox::Warning;
    case MsgIcon::Critical:
      return QMessageBox::Critical;
    case MsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// The folder and file a dialog starts in: the file name inside the initial folder.
QString start_path(const std::string& dir, const std::string& file) {
  QString d = dir.empty() ? QDir::currentPath() : q(dir);
  return file.empty() ? d : QDir(d).filePath(q(file));
}

std::string path_result(const QString& path) {
  return path.isEmpty() ? std::string() : QDir::toNativeSeparators(path).toStdString();
}

// The kind of file a dialog is for: the extensions of its filter's patterns, sorted, e.g.
// "fft+pha+poi" for Plot file and "pha" for every dialog of orbit files.
QString folder_key(const std::string& filter) {
  const QStringList parts = q(filter).split(QLatin1Char('|'));
  QStringList exts;
  for (qsizetype i = 1; i < parts.size(); i += 2) {
    for (const QString& p : parts[i].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString e = p.trimmed().section(QLatin1Char('.'), -1).toLower();
      if (!e.isEmpty() && !exts.contains(e)) exts << e;
    }
  }
  exts.sort();
  return QStringLiteral("folders/") + (exts.isEmpty() ? QStringLiteral("any") : exts.join('+'));
}

// The remembered folders: in `file` when given, else in the user's settings of the program.
std::unique_ptr<QSettings> open_settings(const std::string& file) {
  if (!file.empty()) return std::make_unique<QSettings>(q(file), QSettings::IniFormat);
  return std::make_unique<QSettings>(QStringLiteral("Kestavor"), QStringLiteral("kestavor"));
}
}  // namespace

QString QtDialogs::start_folder(const std::string& filter, const std::string& initial_dir) const {
  const QString remembered = open_settings(settings_file_)->value(folder_key(filter)).toString();
  if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) return remembered;
  return initial_dir.empty() ? QDir::currentPath() : q(initial_dir);
}

void QtDialogs::remember_folder(const std::string& filter, const QString& chosen_file) const {
  open_settings(settings_file_)
      ->setValue(folder_key(filter), QFileInfo(chosen_file).absolutePath());
}

void QtDialogs::message(const std::string& text, const std::string& title, MsgIcon icon) {
  QtInputPump::Suspend open(pump_);
  QMessageBox box(qt_icon(icon), q(title), q(text), QMessageBox::Ok, parent_);
  box.exec();
}

bool QtDialogs::ask_yes_no(const std::string& text, const std::string& title, MsgIcon icon) {
  QtInputPump::Suspend open(pump_);
  QMessageBox box(qt_icon(icon), q(title), q(text), QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

std::string QtDialogs::input_box(const std::string& prompt, const std::string& title,
                                 const std::string& default_text) {
  QtInputPump::Suspend open(pump_);
  bool ok = false;
  QString text =
      QInputDialog::getText(parent_, q(title), q(prompt), QLineEdit::Normal, q(default_text), &ok);
  return ok ? text.toStdString() : std::string();
}

std::string QtDialogs::open_file(const std::string& filter, const std::string& initial_dir,
                                 const std::string& file_name) {
  QtInputPump::Suspend open(pump_);
  QFileDialog dlg(parent_);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFile);
  dlg.setNameFilters(qt_name_filters(filter));
  const QString folder = start_folder(filter, initial_dir);
  dlg.setDirectory(folder);
  if (!file_name.empty()) dlg.selectFile(start_path(folder.toStdString(), file_name));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  remember_folder(filter, dlg.selectedFiles().first());
  return path_result(dlg.selectedFiles().first());
}

std::string QtDialogs::save_file(const std::string& filter, const std::string& default_ext,
                                 const std::string& initial_dir, const std::string& file_name) {
  QtInputPump::Suspend open(pump_);
  QFileDialog dlg(parent_);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setFileMode(QFileDialog::AnyFile);
  dlg.setNameFilters(qt_name_filters(filter));
  QString ext = q(default_ext);
  while (ext.startsWith(QLatin1Char('.')) || ext.startsWith(QLatin1Char('*'))) ext.remove(0, 1);
  if (!ext.isEmpty()) dlg.setDefaultSuffix(ext);
  const QString folder = start_folder(filter, initial_dir);
  dlg.setDirectory(folder);
  if (!file_name.empty()) dlg.selectFile(start_path(folder.toStdString(), file_name));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  remember_folder(filter, dlg.selectedFiles().first());
  return path_result(dlg.selectedFiles().first());
}

}  // namespace kv
