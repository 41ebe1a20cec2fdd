#include "app/commands/collect_data.h"

#include "app/state/form1.h"

namespace kv {

RunEnd COLLECT_DATA(Form1& f, RunControl& run) {
  f.ui.set_enabled(Ctl::Text18, true);
  f.ui.set_back(Ctl::Text18, f.saving ? kRed : kGreen);
  // A message left by an earlier run (box gone, end of data) no longer applies.
  f.ui.set_visible(Ctl::Text58, false);
  f.sys.pump.repaint();
  const RunEnd end = get_data(f, run);
  // The command buttons a run was started from lose their white.
  for (Ctl c : {Ctl::Text10, Ctl::Text13, Ctl::Text14}) f.ui.set_back(c, kGrey);
  f.ui.set_enabled(Ctl::Text18, false);
  f.ui.set_back(Ctl::Text18, kGrey);
  f.sys.pump.repaint();
  return end;
}

}  // namespace kv
