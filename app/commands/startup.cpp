#include "app/commands/startup.h"

#include <utility>

#include "app/state/form1.h"
#include "plot/title_mark.h"
#include "simulation/sim_panel.h"

namespace kv {

void reset_halt(Form1& f) {
  f.POIN_prev = 0;
  f.ui.set_enabled(Ctl::Text18, false);
  f.ui.set_back(Ctl::Text18, kGrey);
}

namespace {

// The window load; `ask` false leaves out the start-up's message and question (the
// program goes on without a box, as after the answer No). Without a box the question
// starts with `why_no_box`, so the first message already says why.
bool load(Form1& f, std::unique_ptr<InterfaceBox> box, bool ask, const std::string& why_no_box) {
  f.sys.pump.repaint();
  draw_title_frame(f);
  for (Ctl c : {Ctl::Text1, Ctl::Text2, Ctl::Text58, Ctl::Picture4}) f.ui.set_visible(c, true);

  f.device_handle = box ? box->handle() : -1;
  f.device = std::move(box);
  if (f.device_handle >= 1) {
    f.ui.set_fore(Ctl::Text58, kGreen);
    f.ui.set_text(Ctl::Text58, "Interface connected");
    f.sys.pump.repaint();
    if (ask) f.sys.dialogs.message("continue", "Chaotic pendulum", MsgIcon::Information);
    for (Ctl c : {Ctl::Frame2, Ctl::Text10, Ctl::Text13, Ctl::Text14}) f.ui.set_enabled(c, true);
    f.ui.set_visible(Ctl::Picture3, true);
    f.ui.set_visible(Ctl::Picture5, false);
  } else {
    f.ui.set_fore(Ctl::Text58, kRed);
    f.ui.set_text(Ctl::Text58, "interface not connected");
    for (Ctl c : {Ctl::Frame2, Ctl::Text10, Ctl::Text13, Ctl::Text14}) f.ui.set_enabled(c, false);
    f.sys.pump.repaint();
    const std::string question =
        why_no_box.empty() ? "Exit the program?" : why_no_box + "\n\nExit the program?";
    if (ask && f.sys.dialogs.ask_yes_no(question, "Exit", MsgIcon::Question)) {
      f.exit_requested = true;
      return false;
    }
    f.ui.set_visible(Ctl::Picture3, false);
    f.ui.set_visible(Ctl::Picture5, true);
  }
  f.ui.set_visible(Ctl::Frame2, true);
  for (Ctl c : {Ctl::Text1, Ctl::Text2, Ctl::Text58, Ctl::Picture4}) f.ui.set_visible(c, false);
  for (Ctl c :
       {Ctl::help, Ctl::Text10, Ctl::Text7, Ctl::Text12, Ctl::Text13, Ctl::Command6, Ctl::Text14,
        Ctl::Text8, Ctl::Text15, Ctl::Text16, Ctl::Text17, Ctl::Frame4, Ctl::Frame3})
    f.ui.set_visible(c, true);
  f.ui.set_enabled(Ctl::Text18, true);
  reset_halt(f);
  set_default_parameters(f);
  f.sys.pump.repaint();
  return true;
}

}  // namespace

bool Form_Load(Form1& f, std::unique_ptr<InterfaceBox> box, const std::string& why_no_box) {
  if (!load(f, std::move(box), true, why_no_box)) return false;
  // Without a box the user learns why, above the plots, not only on a terminal.
  if (f.device_handle < 1 && !why_no_box.empty()) {
    f.show_status(why_no_box, kRed);
    f.sys.pump.repaint();
  }
  return true;
}

void load_headless(Form1& f, std::unique_ptr<InterfaceBox> box) {
  load(f, std::move(box), false, {});
}

void Timer1_Timer(Form1& f) {
  f.plot_flag = kFalse;
}

void Text12_Click(Form1& f) {
  clear_help(f);
  if (f.device) f.device->close();
  f.exit_requested = true;
}

}  // namespace kv
