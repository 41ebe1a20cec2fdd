// "Simulation" and the handlers of its parameter panel. The panel's boxes are read only by
// "Continue", so all edits made while the panel is open take effect together. The check
// boxes keep exactly one speed ("Real time" or "Computer time") and at most one kind of
// save file ("Phase plot" or "Poincare plot").
#include "app/commands/commands.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "simulation/sim_continue.h"

namespace kv {

void Text9_Click(Form1& f) {
  clear_help(f);
  if (f.plot_flag == kFalse) {
    f.Picture1.Cls();
    clear_screen(f);
  }
  f.ui.set_visible(Ctl::Frame21, true);
  for (Ctl c : {Ctl::Frame9, Ctl::Frame10, Ctl::Image2, Ctl::Picture3, Ctl::Picture2, Ctl::Label2})
    f.ui.set_visible(c, false);
  f.ui.set_visible(Ctl::Picture5, true);
  f.sys.pump.repaint();
}

void Command21_Click(Form1& f) {
  WindowRunControl run(f);
  simulation_continue(f, run);
}

void Command1_Click(Form1& f) {
  f.ui.set_visible(Ctl::Frame21, false);
}

// The speed boxes: the other box always takes the opposite state.
void Check1_Click(Form1& f) {
  f.ui.set_checked(Ctl::Check2, !f.ui[Ctl::Check1].checked);
}
void Check2_Click(Form1& f) {
  f.ui.set_checked(Ctl::Check1, !f.ui[Ctl::Check2].checked);
}

// The save boxes: checking one clears the other; clearing one leaves the other alone.
void Check3_Click(Form1& f) {
  if (f.ui[Ctl::Check3].checked) f.ui.set_checked(Ctl::Check4, false);
}
void Check4_Click(Form1& f) {
  if (f.ui[Ctl::Check4].checked) f.ui.set_checked(Ctl::Check3, false);
}

}  // namespace kv
