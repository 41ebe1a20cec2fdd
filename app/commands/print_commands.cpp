// "Print" (Text16): the page of the stored plots on the default printer. Where there is no
// printer, or printing fails, the user is told why and may save the page as a PDF file
// instead; Cancel prints nothing.
#include "app/commands/commands.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "print/page.h"

namespace kv {

namespace {

constexpr const char* kTitle = "Print";

// Asks whether to save the page as a PDF file and, on Yes, where; then writes it.
PrintOutcome offer_pdf(Form1& f, const std::string& why) {
  PrintOutcome out;
  out.status = Status::failed;
  out.reason = why;
  if (!f.sys.dialogs.ask_yes_no(why + "\nSave the page as a PDF file instead?", kTitle,
                                MsgIcon::Question))
    return out;
  const std::string path = f.sys.dialogs.save_file("(*.pdf)|*.pdf", "*.pdf", f.program_dir, "");
  if (path.empty()) return out;
  std::string why_not = "Printing to a PDF file is not available in this build.";
  std::unique_ptr<PrinterSurface> pdf = f.printers ? f.printers->pdf_file(path, why_not) : nullptr;
  if (!pdf) {
    out.reason = why_not;
    f.sys.dialogs.message(why_not, kTitle, MsgIcon::Critical);
    return out;
  }
  out = print_page(f, f, f, *pdf);
  if (out.status == Status::failed) f.sys.dialogs.message(out.reason, kTitle, MsgIcon::Critical);
  show_end_status(f, out.status == Status::done,
                  out.status == Status::done ? "Saved page " + file_name(path) : out.reason);
  return out;
}

}  // namespace

PrintOutcome print_command(Form1& f) {
  clear_help(f);
  f.ui.set_visible(Ctl::List1, false);
  f.ui.set_visible(Ctl::Label6, false);
  f.sys.pump.repaint();
  f.ui.set_visible(Ctl::HScroll1, false);
  f.ui.set_visible(Ctl::Text3, false);
  if (!page_has_content(f, f)) {
    f.sys.dialogs.message(
        "There is nothing to print yet: no points are stored and no spectrum is shown.", kTitle,
        MsgIcon::Information);
    return nothing_to_print();
  }

  std::string why_not = "No printer is available in this build.";
  std::unique_ptr<PrinterSurface> printer =
      f.printers ? f.printers->default_printer(why_not) : nullptr;
  if (!printer) return offer_pdf(f, why_not);
  PrintOutcome out = print_page(f, f, f, *printer);
  if (out.status == Status::failed) return offer_pdf(f, out.reason);
  show_end_status(f, true, "Printed the page");
  return out;
}

void Text16_Click(Form1& f) {
  print_command(f);
}

}  // namespace kv
