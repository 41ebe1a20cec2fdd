// window_shot: starts the window as the program does, with the start-up questions answered
// ("continue" OK, "Exit the program?" No), optionally clicks one panel button and lets the
// command run for a while, and saves a picture of the window. Used to keep the screenshots
// in docs/screenshots up to date; runs on the offscreen platform.
//   window_shot OUT.png [--box BOX] [--size WxH] [--click CONTROL[=ROW]]... [--run-ms MS]
//                [--answer TEXT]... [--save PATH]... [--menu Picture1|Picture2] [--picture PATH]
// Clicks run one after the other; CONTROL=ROW picks a row of a list. The picture is taken
// --run-ms after the last click started (Escape then ends a command still running).
// --menu opens a plot's right-click menu at the plot's centre (after a HALT of the last
// command) and draws it into the picture where it stands; --picture PATH also saves that
// plot's picture as "Save picture as PNG…" makes it.
// --sweep "param=NAME from=A to=B steps=N [param2=.. from2=.. to2=.. steps2=..]
// [transient=T] [points=K] [follow=1] [map=lyapunov]" runs a sweep over the panel's texts
// as the sweep dialog does and saves a picture of the sweep window instead, when the
// sweep has ended or --run-ms has passed (--menu sweep: with its right-click menu open;
// --menu dialog: a picture of the sweep dialog holding those values instead).
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QStyleFactory>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <string>

#include "app/commands/simulation_window.h"
#include "app/state/form1.h"
#include "app/window/main_window.h"
#include "app/window/sweep_dialog.h"
#include "app/window/sweep_window.h"
#include "platform/qt/qt_services.h"
#include "simulation/box_choice.h"
#include "tests/support/scripted_services.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(style);
  const QStringList args = QApplication::arguments();
  if (args.size() < 2) {
    std::fputs(
        "usage: window_shot OUT.png [--box BOX] [--size WxH] [--click CONTROL] "
        "[--run-ms MS] [--answer TEXT]... [--save PATH]... [--menu Picture1|Picture2] "
        "[--picture PATH]\n",
        stderr);
    return 2;
  }
  const QString out = args[1];
  std::string box_spec;
  QSize size(1024, 768);
  QStringList clicks;
  int run_ms = 3000;
  QString menu_on, picture_path, sweep_spec;
  kv::QtServices qt;
  kv::ScriptedDialogs dialogs;
  for (qsizetype i = 2; i + 1 < args.size(); i += 2) {
    const QString& a = args[i];
    const QString v = args[i + 1];
    if (a == QLatin1String("--box")) {
      box_spec = v.toStdString();
    } else if (a == QLatin1String("--size")) {
      const QStringList wh = v.split(QLatin1Char('x'));
      if (wh.size() == 2) size = QSize(wh[0].toInt(), wh[1].toInt());
    } else if (a == QLatin1String("--click")) {
      clicks << v;
    } else if (a == QLatin1String("--run-ms")) {
      run_ms = v.toInt();
    } else if (a == QLatin1String("--menu")) {
      menu_on = v;
    } else if (a == QLatin1String("--sweep")) {
      sweep_spec = v;
    } else if (a == QLatin1String("--picture")) {
      picture_path = v;
    } else if (a == QLatin1String("--answer")) {
      dialogs.input_answers.push_back(v.toStdString());
    } else if (a == QLatin1String("--save")) {
      dialogs.save_answers.push_back(v.toStdString());
      dialogs.open_answers.push_back(v.toStdString());
    } else {
      std::fprintf(stderr, "window_shot: unknown option %s\n", a.toLocal8Bit().constData());
      return 2;
    }
  }

  kv::BoxOpening opening = kv::open_box(box_spec);
  if (opening.status == kv::BoxOpening::Status::unknown_choice) {
    std::fprintf(stderr, "window_shot: --box %s: %s\n", box_spec.c_str(), opening.reason.c_str());
    return 2;
  }
  kv::Form1 form(kv::Services{dialogs, qt.pump, qt.clock, qt.help, qt.pump, qt.timer1});
  kv::MainWindow window(form);
  window.resize(size);
  window.show();
  if (!window.start(std::move(opening.box), opening.reason)) return 1;

  if (!sweep_spec.isEmpty()) {
    kv::SweepTexts t;
    for (const QString& item : sweep_spec.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      const QString key = item.section(QLatin1Char('='), 0, 0);
      const std::string value = item.section(QLatin1Char('='), 1).toStdString();
      std::string* field = key == QLatin1String("param")       ? &t.param
                           : key == QLatin1String("param2")    ? &t.param2
                           : key == QLatin1String("from")      ? &t.from
                           : key == QLatin1String("to")        ? &t.to
                           : key == QLatin1String("steps")     ? &t.steps
                           : key == QLatin1String("from2")     ? &t.from2
                           : key == QLatin1String("to2")       ? &t.to2
                           : key == QLatin1String("steps2")    ? &t.steps2
                           : key == QLatin1String("transient") ? &t.transient
                           : key == QLatin1String("points")    ? &t.points
                           : key == QLatin1String("map")       ? &t.map
                                                               : nullptr;
      if (key == QLatin1String("follow"))
        t.follow = value == "1";
      else if (field)
        *field = value;
    }
    if (menu_on == QLatin1String("dialog")) {  // the sweep dialog holding those values
      kv::SweepDialog dialog(kv::panel_texts(form), &window);
      dialog.set_texts(t);
      dialog.adjustSize();
      return dialog.grab().save(out) ? 0 : 1;
    }
    kv::SweepRequest r;
    if (std::string e = kv::sweep_request_from(t, kv::panel_texts(form), r); !e.empty()) {
      std::fprintf(stderr, "window_shot: --sweep: %s\n", e.c_str());
      return 2;
    }
    kv::SweepWindow* sweep = window.show_sweep(r);
    QElapsedTimer clock;
    clock.start();
    while (sweep->session().running() && clock.elapsed() < run_ms) {
      QCoreApplication::processEvents();
      QThread::msleep(20);
    }
    sweep->update_view();
    QCoreApplication::processEvents();
    QPixmap picture = sweep->grab();
    if (menu_on == QLatin1String("sweep")) {  // its right-click menu open at the centre
      QMenu* menu = sweep->open_menu(sweep->mapToGlobal(sweep->rect().center()));
      QCoreApplication::processEvents();
      QPainter p(&picture);
      menu->render(&p, sweep->mapFromGlobal(menu->pos()));
    }
    const bool ok = picture.save(out);
    sweep->halt();
    if (!ok)
      std::fprintf(stderr, "window_shot: could not write %s\n", out.toLocal8Bit().constData());
    return ok ? 0 : 1;
  }

  bool saved = false;
  auto save = [&] {
    window.sync(true);
    saved = window.grab().save(out);
  };
  // The menu is a window of its own: it is drawn into the window's picture where it stands.
  auto save_with_menu = [&] {
    const kv::Ctl plot =
        menu_on == QLatin1String("Picture2") ? kv::Ctl::Picture2 : kv::Ctl::Picture1;
    QWidget* view = window.control(plot);
    window.sync(true);
    if (!picture_path.isEmpty() && !window.plot_picture(plot).save(picture_path))
      std::fprintf(stderr, "window_shot: could not write %s\n",
                   picture_path.toLocal8Bit().constData());
    QMenu* menu = window.open_plot_menu(plot, view->mapToGlobal(view->rect().center()));
    if (!menu) return;
    QCoreApplication::processEvents();
    QPixmap picture = window.grab();
    QPainter p(&picture);
    menu->render(&p, window.mapFromGlobal(menu->pos()));
    p.end();
    saved = picture.save(out);
    menu->close();
  };
  if (clicks.isEmpty()) {
    QTimer::singleShot(300, [&] {
      save();
      app.quit();
    });
  } else {
    // While the last command runs, take the picture and then press Escape (HALT).
    QTimer::singleShot(100, [&] {
      for (qsizetype k = 0; k < clicks.size(); ++k) {
        const QStringList parts = clicks[k].split(QLatin1Char('='));
        QWidget* target = window.findChild<QWidget*>(parts[0]);
        if (!target) {
          std::fprintf(stderr, "window_shot: no control %s\n", parts[0].toLocal8Bit().constData());
          break;
        }
        if (k + 1 == clicks.size())
          QTimer::singleShot(run_ms, [&] {
            save();
            QCoreApplication::postEvent(
                window.windowHandle(),
                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
          });
        if (auto* list = qobject_cast<QListWidget*>(target); list && parts.size() == 2)
          emit list->itemClicked(list->item(parts[1].toInt()));
        else if (auto* button = qobject_cast<QAbstractButton*>(target))
          button->click();  // check boxes toggle as under the mouse
        else
          QMetaObject::invokeMethod(target, "clicked");
      }
      if (!saved) save();  // the command ended before the picture was due
      app.quit();
    });
  }
  app.exec();
  if (!menu_on.isEmpty()) {
    saved = false;
    save_with_menu();
  }
  if (!saved)
    std::fprintf(stderr, "window_shot: could not write %s\n", out.toLocal8Bit().constData());
  return saved ? 0 : 1;
}
