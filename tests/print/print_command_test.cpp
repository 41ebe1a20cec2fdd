// The "Print" command over scripted dialogs and recording printers: the default printer,
// no printer (told, with the offer of a PDF file), a failing printer, Cancel, and a build
// without printing.
#include <gtest/gtest.h>

#include "app/commands/commands.h"
#include "app/state/form1.h"
#include "tests/support/recording_printer.h"
#include "tests/support/scripted_services.h"

namespace kv {
namespace {

// A printer handed to the command that draws on a recording kept by the test (the command
// owns and destroys the surface it gets).
class Forward : public PrinterSurface {
 public:
  explicit Forward(RecordingPrinter& to) : to_(to) {}
  void text(double x, double y, std::string_view t, const std::string& font, double size,
            bool bold) override {
    to_.text(x, y, t, font, size, bold);
  }
  void line(double x1, double y1, double x2, double y2, int width, bool dashed) override {
    to_.line(x1, y1, x2, y2, width, dashed);
  }
  void dot(double x, double y, int width) override { to_.dot(x, y, width); }
  bool end_doc(std::string& error) override { return to_.end_doc(error); }

 private:
  RecordingPrinter& to_;
};

// Hands out printers whose pages the test can read afterwards.
class FakePrinters : public Printers {
 public:
  bool have_printer = true;
  std::string printer_fails;  // end_doc of the printer fails with this
  std::vector<std::string> pdf_paths;
  std::vector<std::unique_ptr<RecordingPrinter>> pages;
  RecordingPrinter* last() const { return pages.empty() ? nullptr : pages.back().get(); }

  std::unique_ptr<PrinterSurface> default_printer(std::string& why_not) override {
    if (!have_printer) {
      why_not = "No printer is set up on this computer.";
      return nullptr;
    }
    pages.push_back(std::make_unique<RecordingPrinter>());
    pages.back()->fail_with = printer_fails;
    return std::make_unique<Forward>(*pages.back());
  }
  std::unique_ptr<PrinterSurface> pdf_file(const std::string& path, std::string&) override {
    pdf_paths.push_back(path);
    pages.push_back(std::make_unique<RecordingPrinter>());
    return std::make_unique<Forward>(*pages.back());
  }
};

class PrintCommand : public ::testing::Test {
 protected:
  ScriptedServices s;
  Form1 f{s.services()};
  FakePrinters printers;

  void SetUp() override {
    f.printers = &printers;
    f.cnt = 2;
    f.orbit_points.at(2, 2) = 100;
  }
};

TEST_F(PrintCommand, PrintsOnTheDefaultPrinterWithoutAsking) {
  EXPECT_EQ(print_command(f).status, Status::done);
  ASSERT_NE(printers.last(), nullptr);
  EXPECT_EQ(printers.last()->documents, 1);
  EXPECT_TRUE(s.dialogs.shown.empty());
  EXPECT_FALSE(f.ui[Ctl::HScroll1].visible);
}

TEST_F(PrintCommand, WithoutAPrinterOffersAPdfFile) {
  printers.have_printer = false;
  s.dialogs.yes_no_answers.push_back(true);
  s.dialogs.save_answers.push_back("/tmp/page.pdf");
  EXPECT_EQ(print_command(f).status, Status::done);
  ASSERT_EQ(s.dialogs.count("yesno"), 1);
  EXPECT_NE(s.dialogs.shown[0].text.find("No printer is set up"), std::string::npos);
  EXPECT_NE(s.dialogs.shown[0].text.find("PDF"), std::string::npos);
  ASSERT_EQ(printers.pdf_paths.size(), 1u);
  EXPECT_EQ(printers.pdf_paths[0], "/tmp/page.pdf");
  EXPECT_EQ(printers.last()->documents, 1);
  EXPECT_EQ(f.ui[Ctl::Text58].text, "Saved page page.pdf");
}

TEST_F(PrintCommand, NoOrCancelPrintsNothing) {
  printers.have_printer = false;
  s.dialogs.yes_no_answers.push_back(false);
  EXPECT_EQ(print_command(f).status, Status::failed);
  s.dialogs.yes_no_answers.push_back(true);  // then Cancel in the save dialog
  EXPECT_EQ(print_command(f).status, Status::failed);
  EXPECT_TRUE(printers.pdf_paths.empty());
  EXPECT_EQ(s.dialogs.count("save"), 1);
}

TEST_F(PrintCommand, AFailedPrintIsToldWithItsReasonAndThePdfOffered) {
  printers.printer_fails = "The printer lp0 could not print the page.";
  s.dialogs.yes_no_answers.push_back(false);
  EXPECT_EQ(print_command(f).status, Status::failed);
  ASSERT_EQ(s.dialogs.count("yesno"), 1);
  EXPECT_NE(s.dialogs.shown[0].text.find("lp0 could not print"), std::string::npos);
}

TEST_F(PrintCommand, NothingToPrintIsToldAndAsksForNoPrinter) {
  f.cnt = 0;
  printers.have_printer = false;
  EXPECT_EQ(print_command(f).status, Status::refused);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text,
            "There is nothing to print yet: no points are stored and no spectrum is shown.");
  EXPECT_TRUE(printers.pdf_paths.empty());
}

TEST_F(PrintCommand, ABuildWithoutPrintingSaysSo) {
  f.printers = nullptr;
  s.dialogs.yes_no_answers.push_back(true);
  s.dialogs.save_answers.push_back("/tmp/page.pdf");
  EXPECT_EQ(print_command(f).status, Status::failed);
  ASSERT_EQ(s.dialogs.count("message"), 1);
  EXPECT_NE(s.dialogs.shown.back().text.find("not available"), std::string::npos);
}

}  // namespace
}  // namespace kv
