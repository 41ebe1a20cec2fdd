// The page surfaces of Qt: the system's default printer (QPrinter), a PDF file
// (QPdfWriter) and a PNG picture at 150 dpi (QImage), all portrait A4 for the files. PDF and
// PNG files are written through a temporary file beside the chosen path and moved into
// place only when the page is complete. A QGuiApplication must exist (use
// GuiForPrinting where there is none, e.g. in kestavor-cli).
#pragma once

#include <memory>
#include <string>

#include "platform/printer.h"

class QGuiApplication;

namespace kv {

inline constexpr int kPngDpi = 150;

// A PDF page at `path`; null with `why_not` when the temporary file cannot be created.
std::unique_ptr<PrinterSurface> open_pdf_page(const std::string& path, std::string& why_not);
// A PNG picture of the page at 150 dpi; null with `why_not` as above.
std::unique_ptr<PrinterSurface> open_png_page(const std::string& path, std::string& why_not);

class QtPrinters : public Printers {
 public:
  std::unique_ptr<PrinterSurface> default_printer(std::string& why_not) override;
  std::unique_ptr<PrinterSurface> pdf_file(const std::string& path, std::string& why_not) override {
    return open_pdf_page(path, why_not);
  }
};

// A QGuiApplication on the offscreen platform (unless another is chosen in
// QT_QPA_PLATFORM), for drawing pages without a window or a display.
class GuiForPrinting {
 public:
  GuiForPrinting();
  ~GuiForPrinting();

 private:
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace kv
