// "Plot file", "Print" and "Dimension" in the shown window: HALT is yellow while a file is
// drawn and Escape stops it, Print without a printer saves a real PDF page after asking,
// and the dimension appears in its status text.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cmath>

#include "print/qt/qt_printers.h"
#include "tests/support/data_files.h"
#include "tests/window/window_test_support.h"

using namespace kv;
using namespace kv::test;

namespace {

class NoPrinter : public Printers {
 public:
  std::unique_ptr<PrinterSurface> default_printer(std::string& why_not) override {
    why_not = "No printer is set up on this computer.";
    return nullptr;
  }
  std::unique_ptr<PrinterSurface> pdf_file(const std::string& path, std::string& why) override {
    return open_pdf_page(path, why);
  }
};

std::string poincare_records(int n) {
  std::vector<std::pair<double, double>> points;
  for (int k = 0; k < n; ++k) points.emplace_back(std::sin(k * 0.7) * 3, std::cos(k * 1.3) * 15);
  return poincare_file(points);
}

}  // namespace

TEST(FileCommandsWindow, PlotFilePrintAndDimension) {
  TempDir dir;
  Rig r;
  ASSERT_TRUE(r.start_unconnected(false));
  NoPrinter printers;
  r.f.printers = &printers;

  // Plot file: a long orbit file, stopped by Escape while HALT is yellow.
  r.dialogs.open_answers.push_back(dir.write(
      "long.pha", orbit_text(1000000, 1000000, [](long i) { return std::cos(i * 0.003) * 12; })));
  std::uint32_t halt_during = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (r.f.cnt < 1000) return;  // the file is read, the plot is under way
    poll.stop();
    halt_during = r.shown_back(Ctl::Text18);
    QCoreApplication::postEvent(r.w.windowHandle(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  });
  poll.start(5);
  QTest::mouseClick(r.widget(Ctl::Text8), Qt::LeftButton);
  EXPECT_EQ(halt_during, kYellow);
  EXPECT_GE(r.f.cnt, 1000);
  EXPECT_LT(r.f.cnt, 1000000);  // stopped before the end
  EXPECT_FALSE(r.widget(Ctl::Text18)->isEnabled());
  EXPECT_EQ(r.shown_back(Ctl::Text8), kGrey);
  EXPECT_TRUE(r.widget(Ctl::Picture1)->isVisible());
  EXPECT_EQ(r.f.FFT_flag, kFalse);

  // Print: no printer (the orbit drawn so far is kept), so the page goes to a PDF file after Yes
  // and the save dialog.
  const std::string pdf = dir.file("page.pdf");
  r.dialogs.yes_no_answers.push_back(true);
  r.dialogs.save_answers.push_back(pdf);
  QTest::mouseClick(r.widget(Ctl::Text16), Qt::LeftButton);
  EXPECT_EQ(read_file(pdf).substr(0, 5), "%PDF-");
  const auto& asked = r.dialogs.shown[r.dialogs.shown.size() - 2];  // before the save dialog
  EXPECT_EQ(asked.kind, "yesno");
  EXPECT_NE(asked.text.find("No printer is set up"), std::string::npos);

  // Dimension: the result in the status text.
  r.dialogs.open_answers.push_back(dir.write("p.poi", poincare_records(3000)));
  QTest::mouseClick(r.widget(Ctl::Text17), Qt::LeftButton);
  r.w.sync(true);
  EXPECT_TRUE(r.widget(Ctl::Text67)->isVisible());
  EXPECT_NE(r.f.ui[Ctl::Text67].text.find("Number of points=3000"), std::string::npos);
  EXPECT_TRUE(r.widget(Ctl::Picture2)->isVisible());
}
