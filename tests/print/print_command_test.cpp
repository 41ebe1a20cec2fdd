// The "Print" command over scripted dialogs and recording printers: the default printer,
// no printer (told, with the offer of a PDF file), a failing printer, Cancel, and a build
// without printing.
#include <gtest/gtest.h>

#include "app/commands/commands.h"
#include "app/state/form1.h"
#include "platform/scripted_services.h"
#include "print/recording_printer.h"

namespace kv {
namespace {

// Hands out recording printers and remembers them.
class FakePrinters : public Printers {
 public:
  bool have_printer = true;
  std::string printer_fails;  // end_doc of the printer fails with this
  std::vector<std::string> pdf_paths;
  RecordingPrinter* last = nullptr;

  std::unique_ptr<PrinterSurface> default_printer(std::string& why_not) override {
    if (!have_printer) {
      why_not = "No printer is set up on this computer.";
      return nullptr;
    }
    auto p = std::make_unique<RecordingPrinter>();
    p->fail_with = printer_fails;
    last = p.get();
    return p;
  }
  std::unique_ptr<PrinterSurface> pdf_file(const std::string& path, std::string&) override {
    pdf_paths.push_back(path);
    auto p = std::make_unique<RecordingPrinter>();
    last = p.get();
    return p;
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
  EXPECT_EQ(print_command(f).status, PrintOutcome::Status::printed);
  ASSERT_NE(printers.last, nullptr);
  EXPECT_EQ(printers.last->documents, 1);
  EXPECT_TRUE(s.dialogs.shown.empty());
  EXPECT_FALSE(f.ui[Ctl::HScroll1].visible);
}

TEST_F(PrintCommand, WithoutAPrinterOffersAPdfFile) {
  printers.have_printer = false;
  s.dialogs.yes_no_answers.push_back(true);
  s.dialogs.save_answers.push_back("/tmp/page.pdf");
  EXPECT_EQ(print_command(f).status, PrintOutcome::Status::printed);
  ASSERT_EQ(s.dialogs.count("yesno"), 1);
  EXPECT_NE(s.dialogs.shown[0].text.find("No printer is set up"), std::string::npos);
  EXPECT_NE(s.dialogs.shown[0].text.find("PDF"), std::string::npos);
  ASSERT_EQ(printers.pdf_paths.size(), 1u);
  EXPECT_EQ(printers.pdf_paths[0], "/tmp/page.pdf");
  EXPECT_EQ(printers.last->documents, 1);
}

TEST_F(PrintCommand, NoOrCancelPrintsNothing) {
  printers.have_printer = false;
  s.dialogs.yes_no_answers.push_back(false);
  EXPECT_EQ(print_command(f).status, PrintOutcome::Status::failed);
  s.dialogs.yes_no_answers.push_back(true);  // then Cancel in the save dialog
  EXPECT_EQ(print_command(f).status, PrintOutcome::Status::failed);
  EXPECT_TRUE(printers.pdf_paths.empty());
  EXPECT_EQ(s.dialogs.count("save"), 1);
}

TEST_F(PrintCommand, AFailedPrintIsToldWithItsReasonAndThePdfOffered) {
  printers.printer_fails = "The printer lp0 could not print the page.";
  s.dialogs.yes_no_answers.push_back(false);
  EXPECT_EQ(print_command(f).status, PrintOutcome::Status::failed);
  ASSERT_EQ(s.dialogs.count("yesno"), 1);
  EXPECT_NE(s.dialogs.shown[0].text.find("lp0 could not print"), std::string::npos);
}

TEST_F(PrintCommand, NothingToPrintAsksForNoPrinter) {
  f.cnt = 0;
  printers.have_printer = false;
  EXPECT_EQ(print_command(f).status, PrintOutcome::Status::nothing_to_print);
  EXPECT_TRUE(s.dialogs.shown.empty());
}

TEST_F(PrintCommand, ABuildWithoutPrintingSaysSo) {
  f.printers = nullptr;
  s.dialogs.yes_no_answers.push_back(true);
  s.dialogs.save_answers.push_back("/tmp/page.pdf");
  EXPECT_EQ(print_command(f).status, PrintOutcome::Status::failed);
  ASSERT_EQ(s.dialogs.count("message"), 1);
  EXPECT_NE(s.dialogs.shown.back().text.find("not available"), std::string::npos);
}

}  // namespace
}  // namespace kv
