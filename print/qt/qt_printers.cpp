#include "print/qt/qt_printers.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <cstdlib>
#include <vector>

namespace kv {

namespace {

constexpr double kTwipsPerInch = 1440;
// Printable area of the files: a laser printer's 1/4 inch border on A4.
const QMarginsF kFileMargins(6.35, 6.35, 6.35, 6.35);

// Draws on a painter already begun: page twips scaled by the device's resolution / 1440
// from the printable area's origin; widths of n pixels at 600 dpi.
class PainterSurface : public PrinterSurface {
 public:
  // min_width: the thinnest line or dot in device pixels (a picture at 150 dpi shows the
  // thin lines of a 600 dpi page at one pixel rather than a quarter of one).
  void start(QPainter& painter, double dpi, QPointF origin, bool antialias, double min_width = 0) {
    painter_ = &painter;
    min_width_ = min_width;
    dpi_ = dpi;
    scale_ = dpi / kTwipsPerInch;
    origin_ = origin;
    painter.setRenderHint(QPainter::Antialiasing, antialias);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
  }

  void text(double x, double y, std::string_view t, const std::string& font, double size_pt,
            bool bold) override {
    flush_dots();
    QFont qf(QString::fromStdString(font));
    qf.setPointSizeF(size_pt);
    qf.setBold(bold);
    painter_->setFont(qf);
    painter_->setPen(Qt::black);
    const QFontMetricsF m(painter_->font(), painter_->device());
    painter_->drawText(map(x, y) + QPointF(0, m.ascent()),
                       QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
  }

  void line(double x1, double y1, double x2, double y2, int width, bool dashed) override {
    flush_dots();
    QPen pen(Qt::black, pixels(width), dashed ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap);
    painter_->setPen(pen);
    painter_->drawLine(map(x1, y1), map(x2, y2));
  }

  void dot(double x, double y, int width) override {
    if (width != dot_width_) flush_dots();
    dot_width_ = width;
    dots_.push_back(map(x, y));
    if (dots_.size() >= 4096) flush_dots();
  }

 protected:
  bool finish(std::string& error) {
    flush_dots();
    if (painter_->isActive() && !painter_->end()) {
      error = "the page could not be finished";
      return false;
    }
    return true;
  }

 private:
  double pixels(int width) const {
    return std::max(std::max(width, 1) * dpi_ / kPrinterDpi, min_width_);
  }
  QPointF map(double x, double y) const { return origin_ + QPointF(x * scale_, y * scale_); }
  void flush_dots() {
    if (dots_.empty()) return;
    QPen pen(Qt::black, pixels(dot_width_), Qt::SolidLine, Qt::RoundCap);
    painter_->setPen(pen);
    painter_->drawPoints(dots_.data(), static_cast<int>(dots_.size()));
    dots_.clear();
  }

  QPainter* painter_ = nullptr;
  double dpi_ = kPrinterDpi, scale_ = kPrinterDpi / kTwipsPerInch;
  QPointF origin_;
  double min_width_ = 0;
  std::vector<QPointF> dots_;
  int dot_width_ = 1;
};

std::string describe(const QSaveFile& file) {
  return file.errorString().toStdString();
}

class PdfPage : public PainterSurface {
 public:
  explicit PdfPage(const std::string& path) : path_(path), file_(QString::fromStdString(path)) {}
  bool open(std::string& why_not) {
    if (!file_.open(QIODevice::WriteOnly)) {
      why_not = "The PDF file " + path_ + " cannot be written: " + describe(file_) + ".";
      return false;
    }
    writer_ = std::make_unique<QPdfWriter>(&file_);
    writer_->setResolution(static_cast<int>(kPrinterDpi));
    writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       kFileMargins, QPageLayout::Millimeter));
    writer_->setCreator("Kestavor");
    writer_->setTitle("Kestavor Chaotic Pendulum");
    if (!painter_.begin(writer_.get())) {
      why_not = "The PDF file " + path_ + " cannot be started.";
      file_.cancelWriting();
      return false;
    }
    // The painter's origin is the top-left corner of the area inside the margins.
    start(painter_, writer_->resolution(), QPointF(0, 0), true);
    return true;
  }
  bool end_doc(std::string& error) override {
    std::string why;
    if (!finish(why) || !file_.commit()) {
      error = "The PDF file " + path_ +
              " could not be written: " + (why.empty() ? describe(file_) : why) +
              ". No file was made.";
      file_.cancelWriting();
      return false;
    }
    return true;
  }

 private:
  std::string path_;
  QSaveFile file_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
};

class PngPage : public PainterSurface {
 public:
  explicit PngPage(const std::string& path) : path_(path), file_(QString::fromStdString(path)) {}
  bool open(std::string& why_not) {
    if (!file_.open(QIODevice::WriteOnly)) {
      why_not = "The picture " + path_ + " cannot be written: " + describe(file_) + ".";
      return false;
    }
    const QSize px = QPageSize(QPageSize::A4).sizePixels(kPngDpi);
    image_ = QImage(px, QImage::Format_RGB32);
    const int dpm = static_cast<int>(kPngDpi / 0.0254 + 0.5);
    image_.setDotsPerMeterX(dpm);
    image_.setDotsPerMeterY(dpm);
    image_.fill(Qt::white);
    painter_.begin(&image_);
    const double margin = kFileMargins.left() / 25.4 * kPngDpi;
    start(painter_, kPngDpi, QPointF(margin, margin), true, 1.0);
    return true;
  }
  bool end_doc(std::string& error) override {
    std::string why;
    if (!finish(why) || !image_.save(&file_, "PNG") || !file_.commit()) {
      error = "The picture " + path_ +
              " could not be written: " + (why.empty() ? describe(file_) : why) +
              ". No file was made.";
      file_.cancelWriting();
      return false;
    }
    return true;
  }

 private:
  std::string path_;
  QSaveFile file_;
  QImage image_;
  QPainter painter_;
};

class PrinterPage : public PainterSurface {
 public:
  bool open(std::string& why_not) {
    printer_.setPageOrientation(QPageLayout::Portrait);
    printer_.setDocName("Kestavor Chaotic Pendulum");
    if (!painter_.begin(&printer_)) {
      why_not = "The printer " + printer_.printerName().toStdString() + " cannot be started.";
      return false;
    }
    start(painter_, printer_.resolution(), QPointF(0, 0), false);
    return true;
  }
  bool end_doc(std::string& error) override {
    if (!finish(error) || printer_.printerState() == QPrinter::Error) {
      error = "The printer " + printer_.printerName().toStdString() + " could not print the page" +
              (error.empty() ? "" : ": " + error) + ".";
      return false;
    }
    return true;
  }

 private:
  QPrinter printer_{QPrinter::HighResolution};
  QPainter painter_;
};

}  // namespace

std::unique_ptr<PrinterSurface> open_pdf_page(const std::string& path, std::string& why_not) {
  auto page = std::make_unique<PdfPage>(path);
  if (!page->open(why_not)) return nullptr;
  return page;
}

std::unique_ptr<PrinterSurface> open_png_page(const std::string& path, std::string& why_not) {
  auto page = std::make_unique<PngPage>(path);
  if (!page->open(why_not)) return nullptr;
  return page;
}

std::unique_ptr<PrinterSurface> QtPrinters::default_printer(std::string& why_not) {
  if (QPrinterInfo::defaultPrinter().isNull()) {
    why_not = "No printer is set up on this computer.";
    return nullptr;
  }
  auto page = std::make_unique<PrinterPage>();
  if (!page->open(why_not)) return nullptr;
  return page;
}

GuiForPrinting::GuiForPrinting() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kestavor-cli";
  static char* argv[] = {name, nullptr};
  app_ = std::make_unique<QGuiApplication>(argc, argv);
}

GuiForPrinting::~GuiForPrinting() = default;

}  // namespace kv
