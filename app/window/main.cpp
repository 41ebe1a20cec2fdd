// kestavor: the window of the Kestavor chaotic pendulum.
//   kestavor [--box demo | --box replay:FILE | --box usb[:VID:PID]] [--help] [--version]
// Without --box it opens the real interface box. --help and --version answer without a
// screen: they are handled before Qt connects to the display.
#include <QApplication>
#include <QIcon>
#include <QStandardPaths>
#include <QStyleFactory>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/state/form1.h"
#include "app/window/main_window.h"
#include "platform/licence_notice.h"
#include "platform/qt/qt_services.h"
#include "platform/start_folder.h"
#include "print/qt/qt_printers.h"
#include "simulation/box_choice.h"

namespace {
constexpr const char* kUsage =
    "Usage: kestavor [--box BOX]\n"
    "\n"
    "The control and analysis program of the Kestavor chaotic pendulum.\n"
    "\n"
    "Options:\n"
    "  --box BOX    the interface box to open at start-up:\n"
    "                 demo             a simulated box driven by the pendulum model\n"
    "                 replay:FILE      raw 6-byte records from FILE, one per read\n"
    "                 usb[:VID:PID]    the box on USB (default ids of its EZ-USB chip)\n"
    "               Without --box the real box is opened.\n"
    "  --help       show this text and exit\n"
    "  --version    show the version and exit\n";

// --help or --version anywhere among the arguments (but not as the value of --box): prints
// the answer and returns true.
bool answered_without_window(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--box") == 0) {
      ++i;
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return true;
    } else if (std::strcmp(argv[i], "--version") == 0) {
      std::puts("kestavor " KESTAVOR_VERSION);
      std::fputs(kv::kLicenceNotice, stdout);
      return true;
    }
  }
  return false;
}
}  // namespace

int main(int argc, char** argv) {
  if (answered_without_window(argc, argv)) return 0;
  QApplication app(argc, argv);  // takes Qt's own options (-platform, ...) out of argv
  // The desktop matches the window to its menu entry and icon: by the desktop file's name
  // (the app id on Wayland), and on X11 by the window class, "kestavor" (the program's name,
  // the entry's StartupWMClass); the window carries the icon too.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kestavor.Kestavor"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kestavor.png")));
  std::string box_spec;
  const QStringList args = QApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (a == QLatin1String("--box")) {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "kestavor: --box needs a value\n\n%s", kUsage);
        return 2;
      }
      box_spec = args[++i].toStdString();
    } else if (a.startsWith(QLatin1String("--box="))) {
      box_spec = a.mid(6).toStdString();
    } else {
      std::fprintf(stderr, "kestavor: unknown argument '%s'\n\n%s", a.toLocal8Bit().constData(),
                   kUsage);
      return 2;
    }
  }

  kv::BoxOpening opening = kv::open_box(box_spec);
  if (opening.status == kv::BoxOpening::Status::unknown_choice) {
    std::fprintf(stderr, "kestavor: --box %s: %s\n\n%s", box_spec.c_str(), opening.reason.c_str(),
                 kUsage);
    return 2;
  }
  if (!opening.box && !opening.reason.empty())
    std::fprintf(stderr, "kestavor: interface box: %s\n", opening.reason.c_str());

  if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(style);
  kv::QtServices qt;
  kv::Form1 form(qt.services());
  kv::QtPrinters printers;
  form.printers = &printers;
  // Until the user has chosen a folder for a kind of file, its dialogs start in the working
  // folder (started from a terminal) or the documents folder.
  form.program_dir = kv::default_dialog_folder(
      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString());
  kv::MainWindow window(form);
  QObject::connect(&window, &kv::MainWindow::program_ended, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  if (!window.start(std::move(opening.box), opening.reason)) return 0;
  return app.exec();
}
