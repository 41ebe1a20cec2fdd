#include "app/state/controls.h"

namespace kv {

namespace {
constexpr std::string_view kNames[kControlCount] = {
    "Text10",   "Text13", "Text14", "Text18",  "Text7",     "Text11",   "Text12",   "Text8",
    "Text15",   "Text16", "Text17", "Text9",   "help",      "Command6", "Frame2",   "Frame4",
    "Frame3",   "Text1",  "Text2",  "Text58",  "Picture3",  "Picture4", "Picture5", "Picture1",
    "Picture2", "Frame5", "Frame8", "Frame9",  "Frame10",   "Frame12",  "Frame13",  "Label2",
    "Label3",   "Image1", "Image2", "Image3",  "Text39",    "HScroll1", "Text3",    "List1",
    "Label6",   "Text67", "Text68", "Frame21", "label26",   "Text27",   "Text26",   "Text21",
    "Text22",   "Text23", "Text19", "Text24",  "Text25",    "Text69",   "Frame6",   "Check1",
    "Check2",   "Frame7", "Check3", "Check4",  "Command21", "Command1",
};
}  // namespace

std::string_view control_name(Ctl c) {
  return kNames[static_cast<int>(c)];
}

Controls::Controls() {
  auto& p = props_;
  auto at = [&](Ctl c) -> ControlProps& { return p[static_cast<int>(c)]; };
  struct Button {
    Ctl id;
    const char* caption;
    const char* tip;
  };
  const Button buttons[] = {
      {Ctl::Text10, "Plot data", "Acquires phase and Poincare data and plots to the screen"},
      {Ctl::Text13, "Save orbit", "Saves phase plane data from the pendulum to a file"},
      {Ctl::Text14, "Save poincare", "Saves Poincare data from the pendulum to a file"},
      {Ctl::Text18, "HALT", ""},
      {Ctl::Text7, "Clear", "Clears the phase plane or FFT plot"},
      {Ctl::Text11, "Set range", "Sets the horizontal scale of the phase plane plot"},
      {Ctl::Text12, "Exit program", "Exits the program and retutns to desktop"},
      {Ctl::Text8, "Plot file", "Plots either phase plane or Poincare or fft data from a file"},
      {Ctl::Text15, "FFT",
       "Calculates the FFT or the average of several FFT's from a Phase plane data file"},
      {Ctl::Text16, "Print",
       "Prints either the phase plane plot and Poincare plot or the power spectra to the "
       "printer"},
      {Ctl::Text17, "Dimension", "Calculate the capacity dimension from a file of Poincare data."},
      {Ctl::Text9, "Simulation",
       "A numerical simulation that uses fourth order Runge Kutta integration"},
      {Ctl::help, "Help", ""},
  };
  for (const auto& b : buttons) {
    auto& c = at(b.id);
    c.text = b.caption;
    c.tooltip = b.tip;
    c.back_color = kGrey;
  }
  at(Ctl::Command6).text = "plot and save Poincare data";
  at(Ctl::Frame2).text = "Data acquisition";
  at(Ctl::Frame2).visible = false;
  at(Ctl::Frame4).text = "Program control";
  at(Ctl::Frame4).visible = false;
  at(Ctl::Frame3).text = "Utilities";
  at(Ctl::Frame3).visible = false;

  at(Ctl::Text1).text = "KESTAVOR CHAOTIC PENDULUM";
  at(Ctl::Text1).fore_color = 0x000080;
  at(Ctl::Text2).text =
      "THIS IS A REAL TIME DATA ACQUISITION \r\nSYSTEM AND ALL OTHER APPLICATIONS \r\nSHOULD BE "
      "DISABLED AS WELL AS THE \r\nSCREENSAVER. THE SCREEN SHOULD BE SET \r\nFOR 1024 X 768. THE "
      "INTERFACE BOX MUST BE \r\nCONNECTED TO A USB PORT.";
  at(Ctl::Text58).text = "";

  for (Ctl c :
       {Ctl::Picture1, Ctl::Picture2, Ctl::Picture3, Ctl::Picture5, Ctl::Frame5,   Ctl::Frame8,
        Ctl::Frame9,   Ctl::Frame10,  Ctl::Frame12,  Ctl::Frame13,  Ctl::Label2,   Ctl::Label3,
        Ctl::Image1,   Ctl::Image2,   Ctl::Image3,   Ctl::Text39,   Ctl::HScroll1, Ctl::Text3,
        Ctl::List1,    Ctl::Label6,   Ctl::Text67,   Ctl::Text68,   Ctl::Frame21})
    at(c).visible = false;
  at(Ctl::Label2).text = "Poincare plot";
  at(Ctl::Label2).fore_color = 0xC00000;
  at(Ctl::Label3).text = "Phase Plot";
  at(Ctl::Label3).fore_color = 0xC00000;
  at(Ctl::Text3).text = "1";
  at(Ctl::Label6).text = "Select an FFT window";
  at(Ctl::List1).value = -1;
  at(Ctl::List1).tooltip = "Select one of these fft windows";
  at(Ctl::Text68).text = "";

  at(Ctl::Frame21).text = "Pendulum parameters";
  at(Ctl::label26).text = "Inertia=";
  at(Ctl::label26).tooltip = "These pendulum parameters may be changed";
  at(Ctl::Text27).text = "0.000798";
  at(Ctl::Text26).text = "0.000009876";
  at(Ctl::Text21).text = "0.000017754";
  at(Ctl::Text22).text = "0.0005306";
  at(Ctl::Text23).text = "5.8119";
  at(Ctl::Text19).text = "0";
  at(Ctl::Text24).text = "1.0";
  at(Ctl::Text25).text = "1.0";
  at(Ctl::Text69).text = "0";
  at(Ctl::Frame6).text = "Simulation speed";
  at(Ctl::Check1).text = "Real time";
  at(Ctl::Check1).checked = true;
  at(Ctl::Check2).text = "Computer time";
  at(Ctl::Frame7).text = "Save data to a file";
  at(Ctl::Check3).text = "Phase plot";
  at(Ctl::Check4).text = "Poincare plot";
  at(Ctl::Command21).text = "Continue";
  at(Ctl::Command1).text = "Cancel";
  dirty_.fill(true);
}

void Controls::set_visible(Ctl c, bool v) {
  if (props_[static_cast<int>(c)].visible != v) touch(c).visible = v;
}
void Controls::set_enabled(Ctl c, bool v) {
  if (props_[static_cast<int>(c)].enabled != v) touch(c).enabled = v;
}
void Controls::set_back(Ctl c, std::uint32_t color) {
  if (props_[static_cast<int>(c)].back_color != color) touch(c).back_color = color;
}
void Controls::set_fore(Ctl c, std::uint32_t color) {
  if (props_[static_cast<int>(c)].fore_color != color) touch(c).fore_color = color;
}
void Controls::set_text(Ctl c, std::string_view text) {
  if (props_[static_cast<int>(c)].text != text) touch(c).text.assign(text);
}
void Controls::set_value(Ctl c, int value) {
  if (props_[static_cast<int>(c)].value != value) touch(c).value = value;
}
void Controls::set_checked(Ctl c, bool checked) {
  if (props_[static_cast<int>(c)].checked != checked) touch(c).checked = checked;
}

}  // namespace kv
