// The module kestavor-print.so: PDF and PNG pages through Qt, for kestavor-cli print.
#include "cli/page_module.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

#include "print/page.h"
#include "print/qt/qt_printers.h"
#include "sweep/qt/sweep_painter.h"

namespace {
// Qt's notes and warnings (an unset XDG_RUNTIME_DIR, fonts) are not the command's result:
// the page's own failures come back as its outcome. Only errors reach standard error.
void quiet_qt(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "kestavor-cli: %s\n", text.toLocal8Bit().constData());
}
}  // namespace

extern "C" __attribute__((visibility("default"))) bool kestavor_write_page(
    const kv::PlotState& plots, const kv::SpectrumState& spectrum, const kv::ChaosState& chaos,
    bool pdf, const std::string& output, std::string& why_not, kv::Outcome& printed) {
  const QtMessageHandler previous = qInstallMessageHandler(quiet_qt);
  struct Restore {
    QtMessageHandler handler;
    ~Restore() { qInstallMessageHandler(handler); }
  } restore{previous};
  kv::GuiForPrinting gui;
  std::unique_ptr<kv::PrinterSurface> page =
      pdf ? kv::open_pdf_page(output, why_not) : kv::open_png_page(output, why_not);
  if (!page) return false;
  printed = kv::print_page(plots, spectrum, chaos, *page);
  return true;
}

// The entry's type is the one the command calls through.
static_assert(std::is_same_v<decltype(&kestavor_write_page), KvWritePage>);

extern "C" __attribute__((visibility("default"))) bool kestavor_write_sweep_png(
    const kv::SweepPicture& picture, int width, int height, const std::string& output,
    std::string& error) {
  kv::GuiForPrinting gui;
  return kv::write_sweep_png(picture, width, height, output, error);
}

static_assert(std::is_same_v<decltype(&kestavor_write_sweep_png), KvWriteSweepPng>);
