#include "print/qt/qt_printers.h"

#include <QBitmap>
#include <QBuffer>
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
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/text_files.h"

namespace kv {

namespace {

constexpr double kTwipsPerInch = 1440;
// Printable area of the files: a laser printer's 1/4 inch border on A4.
const QMarginsF kFileMargins(6.35, 6.35, 6.35, 6.35);

// The dots of a page, stamped as round discs into a one-bit picture at the device's
// resolution and drawn as one bitmap: a page of a million dots is one image rather than a
// million vector figures (and the same black discs on a printer, in a PDF and a PNG).
class DotLayer {
 public:
  bool ready() const { return w_ > 0; }
  void size_to(int w, int h) {
    w_ = std::max(w, 1);
    h_ = std::max(h, 1);
    stride_ = (w_ + 31) / 32 * 4;
    bits_.assign(static_cast<std::size_t>(stride_) * h_, 0);
  }
  // A disc of `diameter` device pixels centred on the pixel that holds p (device pixels;
  // at 600 dpi or more the half-pixel snap cannot be seen).
  void stamp(QPointF p, double diameter) {
    const double fx = std::floor(p.x()), fy = std::floor(p.y());
    if (!(fx > -1e6 && fx < 1e6 && fy > -1e6 && fy < 1e6)) return;
    const int cx = static_cast<int>(fx), cy = static_cast<int>(fy);
    const std::vector<Span>& spans = disc(diameter);
    for (const Span& sp : spans) {
      const int y = cy + sp.dy;
      if (y < 0 || y >= h_) continue;
      const int xa = std::max(cx + sp.x0, 0), xb = std::min(cx + sp.x1, w_ - 1);
      if (xa > xb) continue;
      set_bits(bits_.data() + static_cast<std::size_t>(y) * stride_, xa, xb);
      left_ = std::min(left_, xa);
      right_ = std::max(right_, xb);
      top_ = std::min(top_, y);
      bottom_ = std::max(bottom_, y);
    }
  }
  void draw(QPainter& painter) {
    if (left_ > right_) return;
    QImage image(bits_.data(), w_, h_, stride_, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    const QRect used(QPoint(left_, top_), QPoint(right_, bottom_));
    const QBitmap bitmap = QBitmap::fromImage(image.copy(used));
    painter.save();
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawPixmap(used.topLeft(), bitmap);
    painter.restore();
    left_ = top_ = std::numeric_limits<int>::max();
    right_ = bottom_ = -1;
    std::fill(bits_.begin(), bits_.end(), 0);
  }

 private:
  struct Span {
    int dy, x0, x1;  // row offset and column offsets from the centre pixel
  };
  // The rows of a disc of `diameter` pixels around a pixel centre (at least that pixel).
  const std::vector<Span>& disc(double diameter) {
    if (diameter == disc_diameter_) return disc_;
    disc_diameter_ = diameter;
    disc_.clear();
    const double r = std::max(diameter, 1.0) / 2;
    const int reach = static_cast<int>(std::ceil(r));
    for (int dy = -reach; dy <= reach; ++dy) {
      const double hw2 = r * r - static_cast<double>(dy) * dy;
      if (hw2 < 0) continue;
      const int hw = static_cast<int>(std::floor(std::sqrt(hw2)));
      disc_.push_back({dy, -hw, hw});
    }
    if (disc_.empty()) disc_.push_back({0, 0, 0});
    return disc_;
  }
  static void set_bits(uchar* row, int xa, int xb) {
    const int b0 = xa >> 3, b1 = xb >> 3;
    const auto head = static_cast<uchar>(0xFF >> (xa & 7));
    const auto tail = static_cast<uchar>(0xFF << (7 - (xb & 7)));
    if (b0 == b1) {
      row[b0] |= head & tail;
      return;
    }
    row[b0] |= head;
    for (int b = b0 + 1; b < b1; ++b) row[b] = 0xFF;
    row[b1] |= tail;
  }

  int w_ = 0, h_ = 0, stride_ = 0;
  std::vector<uchar> bits_;
  std::vector<Span> disc_;
  double disc_diameter_ = -1;
  int left_ = std::numeric_limits<int>::max(), top_ = std::numeric_limits<int>::max();
  int right_ = -1, bottom_ = -1;
};

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

  // Texts and lines are kept and drawn after the dots (everything is black, so the order
  // does not show), because the dots' bitmap is opaque in a PDF.
  void text(double x, double y, std::string_view t, const std::string& font, double size_pt,
            bool bold) override {
    Figure fig;
    fig.a = map(x, y);
    fig.text = QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    fig.font = QString::fromStdString(font);
    fig.size = size_pt;
    fig.bold = bold;
    figures_.push_back(std::move(fig));
  }

  void line(double x1, double y1, double x2, double y2, int width, bool dashed) override {
    Figure fig;
    fig.a = map(x1, y1);
    fig.b = map(x2, y2);
    fig.width = pixels(width);
    fig.dashed = dashed;
    figures_.push_back(std::move(fig));
  }

  void dot(double x, double y, int width) override {
    if (!dots_.ready()) dots_.size_to(painter_->device()->width(), painter_->device()->height());
    dots_.stamp(map(x, y), pixels(width));
  }

 protected:
  bool finish(std::string& error) {
    dots_.draw(*painter_);
    for (const Figure& fig : figures_) draw(fig);
    figures_.clear();
    if (painter_->isActive() && !painter_->end()) {
      error = "the page could not be finished";
      return false;
    }
    return true;
  }

 private:
  struct Figure {
    QPointF a, b;
    QString text, font;  // a text when not empty, else a line from a to b
    double size = 0, width = 0;
    bool bold = false, dashed = false;
  };

  void draw(const Figure& fig) {
    if (!fig.text.isEmpty()) {
      QFont qf(fig.font);
      qf.setPointSizeF(fig.size);
      qf.setBold(fig.bold);
      painter_->setFont(qf);
      painter_->setPen(Qt::black);
      const QFontMetricsF m(painter_->font(), painter_->device());
      painter_->drawText(fig.a + QPointF(0, m.ascent()), fig.text);
    } else {
      painter_->setPen(
          QPen(Qt::black, fig.width, fig.dashed ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap));
      painter_->drawLine(fig.a, fig.b);
    }
  }

  double pixels(int width) const {
    return std::max(std::max(width, 1) * dpi_ / kPrinterDpi, min_width_);
  }
  QPointF map(double x, double y) const { return origin_ + QPointF(x * scale_, y * scale_); }

  std::vector<Figure> figures_;
  QPainter* painter_ = nullptr;
  double dpi_ = kPrinterDpi, scale_ = kPrinterDpi / kTwipsPerInch;
  QPointF origin_;
  double min_width_ = 0;
  DotLayer dots_;
};

// The file of a page: the page is made in memory, then its bytes go through the platform's
// OutputFile, which checks every write to its end, puts the file on the disk and only then
// moves it over the chosen name (the name's bytes exactly as given). A page cut short by a
// full disk or a file-size limit never replaces an earlier file.
class PageFile {
 public:
  bool open(const std::string& path, const std::string& what, std::string& why_not) {
    what_ = what;
    if (file_.open(path)) return true;
    why_not = what_ + " cannot be written: " + file_.error() + ".";
    return false;
  }
  QIODevice* device() { return &buffer_; }
  bool begin() { return buffer_.open(QIODevice::WriteOnly); }
  // Writes the page made in memory; false with the reason, naming what became of the file.
  bool commit(const std::string& why, std::string& error) {
    buffer_.close();
    if (why.empty() &&
        file_.write_raw(buffer_.data().constData(),
                        static_cast<std::size_t>(buffer_.data().size())) &&
        file_.commit())
      return true;
    error = what_ + " could not be written: " + (why.empty() ? file_.error() : why) + ". " +
            file_.what_was_kept();
    file_.discard();
    return false;
  }

 private:
  std::string what_;
  OutputFile file_;
  QBuffer buffer_;
};

class PdfPage : public PainterSurface {
 public:
  bool open(const std::string& path, std::string& why_not) {
    if (!file_.open(path, "The PDF file " + path, why_not)) return false;
    if (!file_.begin()) {
      why_not = "The PDF file " + path + " cannot be started.";
      return false;
    }
    writer_ = std::make_unique<QPdfWriter>(file_.device());
    writer_->setResolution(static_cast<int>(kPrinterDpi));
    writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       kFileMargins, QPageLayout::Millimeter));
    writer_->setCreator("Kestavor");
    writer_->setTitle("Kestavor Chaotic Pendulum");
    if (!painter_.begin(writer_.get())) {
      why_not = "The PDF file " + path + " cannot be started.";
      return false;
    }
    // The painter's origin is the top-left corner of the area inside the margins.
    start(painter_, writer_->resolution(), QPointF(0, 0), true);
    return true;
  }
  bool end_doc(std::string& error) override {
    std::string why;
    finish(why);
    writer_.reset();
    return file_.commit(why, error);
  }

 private:
  PageFile file_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
};

class PngPage : public PainterSurface {
 public:
  bool open(const std::string& path, std::string& why_not) {
    if (!file_.open(path, "The picture " + path, why_not)) return false;
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
    if (finish(why) && !(file_.begin() && image_.save(file_.device(), "PNG")))
      why = "the picture could not be encoded";
    return file_.commit(why, error);
  }

 private:
  PageFile file_;
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
  auto page = std::make_unique<PdfPage>();
  if (!page->open(path, why_not)) return nullptr;
  return page;
}

std::unique_ptr<PrinterSurface> open_png_page(const std::string& path, std::string& why_not) {
  auto page = std::make_unique<PngPage>();
  if (!page->open(path, why_not)) return nullptr;
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
