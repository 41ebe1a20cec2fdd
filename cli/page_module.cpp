// The module kestavor-print.so: PDF and PNG pages through Qt, for kestavor-cli print.
#include "cli/page_module.h"

#include "print/page.h"
#include "print/qt/qt_printers.h"
#include "sweep/qt/sweep_painter.h"

extern "C" __attribute__((visibility("default"))) bool kestavor_write_page(
    const kv::PlotState& plots, const kv::SpectrumState& spectrum, const kv::ChaosState& chaos,
    bool pdf, const std::string& output, std::string& why_not, kv::Outcome& printed) {
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
