// "FFT" and the window list: the button shows the list; choosing a window runs the
// spectrum command and puts the list away again.
#include "app/commands/commands.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "fft/get_fft_data.h"

namespace kv {

void Text15_Click(Form1& f) {
  clear_help(f);
  clear_screen(f);
  f.cnt = 0;
  f.poincare_cnt = 0;
  f.ui.set_visible(Ctl::Text3, false);
  f.ui.set_visible(Ctl::List1, true);
  f.ui.set_visible(Ctl::Label6, true);
  f.ui.set_visible(Ctl::Label2, false);
  f.ui.set_back(Ctl::Text15, kWhite);
}

void List1_Click(Form1& f) {
  WindowRunControl run(f);
  get_fft_data(f, run);
  f.ui.set_back(Ctl::Text15, kGrey);
  f.ui.set_visible(Ctl::List1, false);
  f.ui.set_visible(Ctl::Label6, false);
}

}  // namespace kv
