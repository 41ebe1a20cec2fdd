// Message box, input box and the open and save file dialogs of the window, with Qt's
// dialogs. Each is modal to the main window; input held back by a running command is let
// through while one is open so the user can answer it.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/services.h"

namespace kv {

class QtInputPump;

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QtInputPump* pump = nullptr) : pump_(pump) {}
  void set_parent(QWidget* parent) { parent_ = parent; }

  void message(const std::string& text, const std::string& title, MsgIcon icon) override;
  bool ask_yes_no(const std::string& text, const std::string& title, MsgIcon icon) override;
  std::string input_box(const std::string& prompt, const std::string& title,
                        const std::string& default_text) override;
  std::string open_file(const std::string& filter, const std::string& initial_dir,
                        const std::string& file_name) override;
  std::string save_file(const std::string& filter, const std::string& default_ext,
                        const std::string& initial_dir, const std::string& file_name) override;

 private:
  QtInputPump* pump_;
  QPointer<QWidget> parent_;
};

}  // namespace kv
