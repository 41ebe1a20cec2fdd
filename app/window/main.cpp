// kestavor: the window of the Kestavor chaotic pendulum.
//   kestavor [--box BOX] [--help] [--version] [Qt's own options]
// Without --box it opens the platform's own box. The arguments are read before the window
// system starts, so --help, --version and a bad argument need no display; without a display
// the program says so and ends with status 1 instead of aborting inside Qt.
#include <QApplication>
#include <QIcon>
#include <QStandardPaths>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "app/state/form1.h"
#include "app/window/main_window.h"
#include "platform/licence_notice.h"
#include "platform/qt/qt_services.h"
#include "platform/start_folder.h"
#include "print/qt/qt_printers.h"
#include "simulation/box_choice.h"

namespace {

std::string usage() {
  return "Usage: kestavor [--box BOX]\n"
         "\n"
         "The control and analysis program of the Kestavor chaotic pendulum.\n"
         "\n"
         "Options:\n"
         "  --box BOX    the interface box to open at start-up, one of:\n" +
         kv::box_help("                 ") +
         "  --help, -h   show this text and exit\n"
         "  --version    show the version and exit\n"
         "Qt's own options (-platform NAME, -style NAME, ...) are passed on to Qt.\n";
}

// Qt's options that take a value, and those that take none; Qt reads them with one dash or
// two.
constexpr std::string_view kQtValueOptions[] = {"platform",        "platformpluginpath",
                                                "platformtheme",   "plugin",
                                                "display",         "style",
                                                "stylesheet",      "session",
                                                "qwindowgeometry", "geometry",
                                                "qwindowicon",     "qwindowtitle",
                                                "title",           "name",
                                                "qmljsdebugger"};
constexpr std::string_view kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// How many arguments a Qt option at `arg` takes with it (1 or 2); 0 when it is none.
int qt_option(std::string_view arg) {
  if (arg.size() < 2 || arg[0] != '-') return 0;
  std::string_view name = arg.substr(arg[1] == '-' ? 2 : 1);
  for (std::string_view o : kQtFlags)
    if (name == o) return 1;
  for (std::string_view o : kQtValueOptions) {
    if (name == o) return 2;
    if (name.size() > o.size() && name.substr(0, o.size()) == o && name[o.size()] == '=') return 1;
  }
  return 0;
}

struct Arguments {
  std::string box;
  bool platform_given = false;  // -platform among Qt's options
};

int refuse(const std::string& message) {
  std::fprintf(stderr, "kestavor: %s\n\n%s", message.c_str(), usage().c_str());
  return 2;
}

// Reads the arguments; -1 to go on, else the exit status (0 after --help or --version).
int read_arguments(int argc, char** argv, Arguments& out) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(usage().c_str(), stdout);
      return 0;
    }
    if (a == "--version") {
      std::puts("kestavor " KESTAVOR_VERSION);
      std::fputs(kv::kLicenceNotice, stdout);
      return 0;
    }
    if (a == "--box") {
      if (i + 1 >= argc) return refuse("--box needs a value");
      out.box = argv[++i];
    } else if (a.substr(0, 6) == "--box=") {
      out.box = std::string(a.substr(6));
    } else if (a == "--") {
      if (i + 1 < argc) return refuse(std::string("unexpected argument '") + argv[i + 1] + "'");
      break;
    } else if (const int taken = qt_option(a)) {
      if (taken == 2 && i + 1 >= argc) return refuse(std::string(a) + " needs a value");
      const std::string_view name = a.substr(a[1] == '-' ? 2 : 1);
      if (name == "platform" || name.substr(0, 9) == "platform=") out.platform_given = true;
      i += taken - 1;
    } else {
      return refuse("unknown argument '" + std::string(a) + "'");
    }
  }
  return -1;
}

// A platform plugin that cannot start (no display, a display that does not answer) is a
// fatal message inside Qt, which would abort: say what is wrong and end with status 1.
void message_handler(QtMsgType type, const QMessageLogContext&, const QString& text) {
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  if (type == QtFatalMsg) {
    std::fputs("kestavor: the window cannot be shown: no usable display\n", stderr);
    std::_Exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (const int status = read_arguments(argc, argv, args); status >= 0) return status;

  kv::BoxOpening opening = kv::open_box(args.box);
  if (opening.status == kv::BoxOpening::Status::unknown_choice)
    return refuse("--box " + args.box + ": " + opening.reason);

#if defined(__linux__)
  if (!args.platform_given && !std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
      !std::getenv("WAYLAND_DISPLAY")) {
    std::fputs(
        "kestavor: no display: neither DISPLAY nor WAYLAND_DISPLAY is set (start it in a "
        "desktop session, or with xvfb-run)\n",
        stderr);
    return 1;
  }
#endif
  qInstallMessageHandler(message_handler);
  QApplication app(argc, argv);
  qInstallMessageHandler(nullptr);
  // The desktop matches the window to its menu entry and icon: by the desktop file's name
  // (the app id on Wayland), and on X11 by the window class, "kestavor" (the program's name,
  // the entry's StartupWMClass); the window carries the icon too.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kestavor.Kestavor"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kestavor.png")));
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
