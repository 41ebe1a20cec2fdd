// The printer as the printing command sees it: a page surface in twips (1440 per inch,
// origin at the top-left corner of the printable area, y downwards) with texts, lines and
// dots in black, and the end of the document. Widths are in pixels of a 600 dpi printer,
// so that the same page looks alike on a printer, in a PDF file and in a picture.
// `Printers` hands out the system's default printer and PDF files; the window provides the
// Qt implementations (print/qt), tests a recording one.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kv {

// Device pixels of a 600 dpi printer per twip: a DrawWidth of n is n of these pixels.
inline constexpr double kPrinterDpi = 600;

class PrinterSurface {
 public:
  virtual ~PrinterSurface() = default;
  // A text (UTF-8) whose top-left corner lies at (x, y), in the given font.
  virtual void text(double x, double y, std::string_view text, const std::string& font,
                    double size_pt, bool bold) = 0;
  // A black line, `width` pixels wide, solid or dashed.
  virtual void line(double x1, double y1, double x2, double y2, int width, bool dashed) = 0;
  // A round black dot `width` pixels across, centred on (x, y).
  virtual void dot(double x, double y, int width) = 0;
  // Finishes the page and sends or writes the document. False with `error` saying why.
  virtual bool end_doc(std::string& error) = 0;
};

class Printers {
 public:
  virtual ~Printers() = default;
  // The system's default printer, or null with `why_not` saying why there is none.
  virtual std::unique_ptr<PrinterSurface> default_printer(std::string& why_not) = 0;
  // A PDF file at `path`, written through a temporary file and moved into place by
  // end_doc; null with `why_not` when PDF files cannot be written.
  virtual std::unique_ptr<PrinterSurface> pdf_file(const std::string& path,
                                                   std::string& why_not) = 0;
};

}  // namespace kv
