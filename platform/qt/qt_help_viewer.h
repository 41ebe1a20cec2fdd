// The help viewer: a window beside the program that shows the help file (HTML) in a text
// browser. open_contents shows it at the top (the contents); quit closes it.
#pragma once

#include <QPointer>
#include <QString>

#include "platform/services.h"

class QTextBrowser;

namespace kv {

class QtHelpViewer : public HelpViewer {
 public:
  QtHelpViewer() = default;
  ~QtHelpViewer() override;
  QtHelpViewer(const QtHelpViewer&) = delete;
  QtHelpViewer& operator=(const QtHelpViewer&) = delete;

  void open_contents(const std::string& help_file) override;
  void quit() override;

  bool is_open() const;
  QTextBrowser* browser() const;
  // Where a bare help file name is looked for: beside the executable (the build tree),
  // then in the installed data folder relative to it (../share/kestavor from bin/), then
  // the current folder. Returns an empty string when the file is in none of them.
  static QString locate(const std::string& help_file);

 private:
  QPointer<QTextBrowser> browser_;
};

}  // namespace kv
