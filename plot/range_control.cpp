#include "plot/range_control.h"

#include <cmath>
#include <string>

#include "app/state/form1.h"

namespace kv {

int revolutions_for_value(int value) {
  i32 n = clng(std::pow(2.0, value) + 1);
  return n == 2 ? 1 : n;
}

void Text11_Click(Form1& f) {
  clear_help(f);
  f.ui.set_visible(Ctl::HScroll1, true);
  f.ui.set_visible(Ctl::Text3, true);
  f.ui.set_visible(Ctl::Frame12, false);
  f.ui.set_visible(Ctl::Frame13, false);
  f.ui.set_visible(Ctl::Image3, false);
}

void HScroll1_Change(Form1& f) {
  f.ui.set_text(Ctl::Text3, std::to_string(revolutions_for_value(f.ui[Ctl::HScroll1].value)));
}

}  // namespace kv
