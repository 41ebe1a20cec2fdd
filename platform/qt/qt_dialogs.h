// Message box, input box and the open and save file dialogs of the window, with Qt's
// dialogs. Each is modal to the main window; input held back by a running command is let
// through while one is open so the user can answer it. The file dialogs remember, across
// runs, the folder of the file last chosen for each kind of file (the extensions their
// filter offers: *.pha, *.poi, the three kinds of Plot file, *.fft, *.pdf, *.png) and start
// there; the folder a command gives is where a kind starts until then.
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "platform/services.h"

namespace kv {

class QtInputPump;

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QtInputPump* pump = nullptr) : pump_(pump) {}
  void set_parent(QWidget* parent) { parent_ = parent; }
  // Keeps the remembered folders in this settings file (an INI file) instead of the
  // user's settings of the program; tests give a temporary one.
  void set_settings_file(const std::string& path) { settings_file_ = path; }

  void message(const std::string& text, const std::string& title, MsgIcon icon) override;
  bool ask_yes_no(const std::string& text, const std::string& title, MsgIcon icon) override;
  std::string input_box(const std::string& prompt, const std::string& title,
                        const std::string& default_text) override;
  std::string open_file(const std::string& filter, const std::string& initial_dir,
                        const std::string& file_name) override;
  std::string save_file(const std::string& filter, const std::string& default_ext,
                        const std::string& initial_dir, const std::string& file_name) override;

  // The folder a dialog of this filter starts in (the one last chosen for that kind of
  // file while it exists, else `initial_dir`, else the working folder), and the folder of
  // a chosen file, remembered for its kind.
  QString start_folder(const std::string& filter, const std::string& initial_dir) const;
  void remember_folder(const std::string& filter, const QString& chosen_file) const;

 private:
  QtInputPump* pump_;
  QPointer<QWidget> parent_;
  std::string settings_file_;
};

}  // namespace kv
