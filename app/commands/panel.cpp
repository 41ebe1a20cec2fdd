#include "app/commands/panel.h"

#include <initializer_list>
#include <string>

#include "app/state/form1.h"
#include "plot/phase_plot.h"
#include "plot/range_control.h"

namespace kv {

namespace {
void paint(Form1& f, std::initializer_list<Ctl> white, std::initializer_list<Ctl> grey) {
  for (Ctl c : white) f.ui.set_back(c, kWhite);
  for (Ctl c : grey) f.ui.set_back(c, kGrey);
}
constexpr std::initializer_list<Ctl> kLeftSeven = {
    Ctl::Text10, Ctl::Text13, Ctl::Text14, Ctl::Text18, Ctl::Text7, Ctl::Text11, Ctl::Text12};
}  // namespace

void mouse_move(Form1& f, Ctl c) {
  using C = Ctl;
  switch (c) {
    case C::Text10:
      paint(f, {C::Text10}, {C::Text13});
      break;
    case C::Text13:
      paint(f, {C::Text13}, {C::Text14, C::Text10});
      break;
    case C::Text14:
      paint(f, {C::Text14}, {C::Text13});
      break;
    case C::Text18:
      clear_help(f);
      paint(f, {}, {C::Text7});
      break;
    case C::Text7:
      paint(f, {C::Text7}, {C::Text11, C::Text12});
      break;
    case C::Text11:
      paint(f, {C::Text11}, {C::Text7, C::Text12});
      break;
    case C::Text12:
      paint(f, {C::Text12}, {C::Text11});
      break;
    case C::Text8:
      paint(f, {C::Text8}, {C::Text15});
      break;
    case C::Text15:
      paint(f, {C::Text15}, {C::Text8, C::Text16});
      break;
    case C::Text16:
      paint(f, {C::Text16}, {C::Text15, C::Text17});
      break;
    case C::Text17:
      paint(f, {C::Text17}, {C::Text16, C::Text9});
      break;
    case C::Text9:
      paint(f, {C::Text9}, {C::Text17, C::help});
      break;
    case C::help:
      paint(f, {C::help}, {C::Text9});
      break;
    case C::Frame8:
    case C::Frame12:
      for (Ctl g : kLeftSeven) f.ui.set_back(g, kGrey);
      break;
    case C::Picture1:
      paint(f, {}, {C::Text15});
      break;
    default:
      break;
  }
}

void Form_MouseMove(Form1& f) {
  for (Ctl c :
       {Ctl::Text18, Ctl::Text10, Ctl::Text7, Ctl::Text12, Ctl::Text13, Ctl::Text14, Ctl::Text8,
        Ctl::Text15, Ctl::Text16, Ctl::Text17, Ctl::Text11, Ctl::Text9, Ctl::help})
    f.ui.set_back(c, kGrey);
}

void Frame12_MouseMove(Form1& f) {
  mouse_move(f, Ctl::Frame12);
}

void Text57_MouseMove(Form1& f) {
  f.ui.set_back(Ctl::Text7, kGrey);
}

void help_Click(Form1& f) {
  f.sys.help.open_contents(f.help_file);
}

void Form_Click(Form1& f) {
  clear_help(f);
}

void Text7_Click(Form1& f) {
  clear_help(f);
  if (f.plot_flag != kFalse) return;
  f.Picture1.Cls();
  draw_phase_axes(f);
  f.ui.set_visible(Ctl::Frame12, false);
  f.ui.set_visible(Ctl::Frame13, false);
  f.ui.set_visible(Ctl::Image3, false);
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
