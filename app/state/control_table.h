// The one table of the window's controls: for every control of the design, in the order of
// `Ctl`, its text or caption at start-up, its hover text, its look at
// start-up, the handler a click runs, and for the simulation panel's parameter rows the
// box of the parameter set the row holds (simulation/sim_panel.h: its caption, unit,
// start-up text and kestavor-cli simulate option). The controls model starts from it
// (app/state/controls.cpp) and the window routes its clicks and labels the panel rows with
// it (app/window). A control is added to the list of controls (KV_CONTROLS in controls.h,
// which gives `Ctl` and the design names), here, and in the layout's geometry.
//
// The handlers are defined in app/commands, above this folder. The state library reads the
// table only while compiling (its texts become constant arrays there), so the
// handlers are linked only by the window and the tools, which run them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "app/state/controls.h"
#include "platform/colors.h"
#include "simulation/sim_panel.h"

namespace kv {

struct Form1;

// The click handlers the table names, declared here once (defined in app/commands).
// Data acquisition frame.
void Text10_Click(Form1& f);  // "Plot data"
void Text13_Click(Form1& f);  // "Save orbit"
void Text14_Click(Form1& f);  // "Save poincare"
// Program control and utilities.
void Text7_Click(Form1& f);      // "Clear"
void Text11_Click(Form1& f);     // "Set range"
void Text12_Click(Form1& f);     // "Exit program"
void Text8_Click(Form1& f);      // "Plot file"
void Text15_Click(Form1& f);     // "FFT"
void Text16_Click(Form1& f);     // "Print"
void Text17_Click(Form1& f);     // "Dimension"
void help_Click(Form1& f);       // "Help"
void HScroll1_Change(Form1& f);  // the range scroll bar moved
void List1_Click(Form1& f);      // a window chosen in the FFT list: reads ui[List1].value
// Simulation: the "Simulation" button and the parameter panel.
void Text9_Click(Form1& f);      // "Simulation": opens the panel
void Check1_Click(Form1& f);     // "Real time"     (called after the box toggled)
void Check2_Click(Form1& f);     // "Computer time"
void Check3_Click(Form1& f);     // "Phase plot"
void Check4_Click(Form1& f);     // "Poincare plot"
void Command21_Click(Form1& f);  // "Continue": the simulation run
void Command1_Click(Form1& f);   // "Cancel"

using ClickHandler = void (*)(Form1&);

struct ControlRow {
  Ctl ctl = Ctl::kCount;
  std::string_view text = {};    // text or caption at start-up
  std::string_view tip = {};     // hover text
  ClickHandler click = nullptr;  // what a click (a toggle, a scroll, a choice) runs; null: none
  bool visible = true;           // shown at start-up
  std::uint32_t back = kWhite;
  std::uint32_t fore = 0x000000;
  bool checked = false;  // check boxes
  int value = 0;         // scroll bar value, list index
  // A parameter row of the simulation panel: the box of the parameter set it holds (its
  // caption, unit, start-up text and kestavor-cli simulate option).
  const PanelBox* box = nullptr;
};

namespace control_table_detail {
using C = Ctl;
inline constexpr std::string_view kNotice =
    "THIS IS A REAL TIME DATA ACQUISITION \r\nSYSTEM AND ALL OTHER APPLICATIONS \r\nSHOULD BE "
    "DISABLED AS WELL AS THE \r\nSCREENSAVER. THE SCREEN SHOULD BE SET \r\nFOR 1024 X 768. THE "
    "INTERFACE BOX MUST BE \r\nCONNECTED TO A USB PORT.";

inline constexpr ControlRow kRows[] = {
    // Panel buttons (text boxes used as buttons) and their frames.
    {.ctl = C::Text10,
     .text = "Plot data",
     .tip = "Acquires phase and Poincare data and plots to the screen",
     .click = Text10_Click,
     .back = kGrey},
    {.ctl = C::Text13,
     .text = "Save orbit",
     .tip = "Saves phase plane data from the pendulum to a file",
     .click = Text13_Click,
     .back = kGrey},
    {.ctl = C::Text14,
     .text = "Save poincare",
     .tip = "Saves Poincare data from the pendulum to a file",
     .click = Text14_Click,
     .back = kGrey},
    // HALT has no click action: a running command polls it.
    {.ctl = C::Text18, .text = "HALT", .back = kGrey},
    {.ctl = C::Text7,
     .text = "Clear",
     .tip = "Clears the phase plane or FFT plot",
     .click = Text7_Click,
     .back = kGrey},
    {.ctl = C::Text11,
     .text = "Set range",
     .tip = "Sets the horizontal scale of the phase plane plot",
     .click = Text11_Click,
     .back = kGrey},
    {.ctl = C::Text12,
     .text = "Exit program",
     .tip = "Exits the program and retutns to desktop",
     .click = Text12_Click,
     .back = kGrey},
    {.ctl = C::Text8,
     .text = "Plot file",
     .tip = "Plots either phase plane or Poincare or fft data from a file",
     .click = Text8_Click,
     .back = kGrey},
    {.ctl = C::Text15,
     .text = "FFT",
     .tip = "Calculates the FFT or the average of several FFT's from a Phase plane data file",
     .click = Text15_Click,
     .back = kGrey},
    {.ctl = C::Text16,
     .text = "Print",
     .tip = "Prints either the phase plane plot and Poincare plot or the power spectra to the "
            "printer",
     .click = Text16_Click,
     .back = kGrey},
    {.ctl = C::Text17,
     .text = "Dimension",
     .tip = "Calculate the capacity dimension from a file of Poincare data.",
     .click = Text17_Click,
     .back = kGrey},
    {.ctl = C::Text9,
     .text = "Simulation",
     .tip = "A numerical simulation that uses fourth order Runge Kutta integration",
     .click = Text9_Click,
     .back = kGrey},
    {.ctl = C::help, .text = "Help", .click = help_Click, .back = kGrey},
    {.ctl = C::Command6, .text = "plot and save Poincare data"},
    {.ctl = C::Frame2, .text = "Data acquisition", .visible = false},
    {.ctl = C::Frame4, .text = "Program control", .visible = false},
    {.ctl = C::Frame3, .text = "Utilities", .visible = false},
    // Start-up screen.
    {.ctl = C::Text1, .text = "KESTAVOR CHAOTIC PENDULUM", .fore = 0x000080},
    {.ctl = C::Text2, .text = kNotice},
    {.ctl = C::Text58},
    {.ctl = C::Picture3, .visible = false},
    {.ctl = C::Picture4},
    {.ctl = C::Picture5, .visible = false},
    // Plots, their label groups, titles and axis pictures.
    {.ctl = C::Picture1, .visible = false},
    {.ctl = C::Picture2, .visible = false},
    {.ctl = C::Frame5, .visible = false},
    {.ctl = C::Frame8, .visible = false},
    {.ctl = C::Frame9, .visible = false},
    {.ctl = C::Frame10, .visible = false},
    {.ctl = C::Frame12, .visible = false},
    {.ctl = C::Frame13, .visible = false},
    {.ctl = C::Label2, .text = "Poincare plot", .visible = false, .fore = 0xC00000},
    {.ctl = C::Label3, .text = "Phase Plot", .visible = false, .fore = 0xC00000},
    {.ctl = C::Image1, .visible = false},
    {.ctl = C::Image2, .visible = false},
    {.ctl = C::Image3, .visible = false},
    {.ctl = C::Text39, .visible = false},
    // Range control.
    {.ctl = C::HScroll1, .click = HScroll1_Change, .visible = false},
    {.ctl = C::Text3, .text = "1", .visible = false},
    // FFT window list and the analysis texts.
    {.ctl = C::List1,
     .tip = "Select one of these fft windows",
     .click = List1_Click,
     .visible = false,
     .value = -1},
    {.ctl = C::Label6, .text = "Select an FFT window", .visible = false},
    {.ctl = C::Text67, .visible = false},
    {.ctl = C::Text68, .visible = false},
    // Simulation parameter panel: the parameter rows, top to bottom, then the options.
    {.ctl = C::Frame21, .text = "Pendulum parameters", .visible = false},
    {.ctl = C::label26,
     .text = kInertiaBox.caption,  // the inertia row's caption, a control of its own
     .tip = "These pendulum parameters may be changed"},
    {.ctl = C::Text27, .text = kMgrBox.start_text, .box = &kMgrBox},
    {.ctl = C::Text26, .text = kInertiaBox.start_text, .box = &kInertiaBox},
    {.ctl = C::Text21, .text = kDampingBox.start_text, .box = &kDampingBox},
    {.ctl = C::Text22, .text = kDriveAmplitudeBox.start_text, .box = &kDriveAmplitudeBox},
    {.ctl = C::Text23, .text = kDriveFrequencyBox.start_text, .box = &kDriveFrequencyBox},
    {.ctl = C::Text19, .text = kDrivePhaseBox.start_text, .box = &kDrivePhaseBox},
    {.ctl = C::Text24, .text = kInitialAngleBox.start_text, .box = &kInitialAngleBox},
    {.ctl = C::Text25, .text = kInitialVelocityBox.start_text, .box = &kInitialVelocityBox},
    {.ctl = C::Text69, .text = kTimeOutBox.start_text, .box = &kTimeOutBox},
    {.ctl = C::Frame6, .text = "Simulation speed"},
    {.ctl = C::Check1, .text = "Real time", .click = Check1_Click, .checked = true},
    {.ctl = C::Check2, .text = "Computer time", .click = Check2_Click},
    {.ctl = C::Frame7, .text = "Save data to a file"},
    {.ctl = C::Check3, .text = "Phase plot", .click = Check3_Click},
    {.ctl = C::Check4, .text = "Poincare plot", .click = Check4_Click},
    {.ctl = C::Command21, .text = "Continue", .click = Command21_Click},
    {.ctl = C::Command1, .text = "Cancel", .click = Command1_Click},
};
}  // namespace control_table_detail

// The table, one row per control in the order of `Ctl`.
inline constexpr std::span<const ControlRow> kControlTable = control_table_detail::kRows;

// One row per control, at its place in the order of `Ctl`: a control added to or moved in
// the list of controls (controls.h) and not here stops the build.
constexpr bool table_follows_the_controls() {
  if (kControlTable.size() != static_cast<std::size_t>(Ctl::kCount)) return false;
  for (std::size_t i = 0; i < kControlTable.size(); ++i)
    if (static_cast<std::size_t>(kControlTable[i].ctl) != i) return false;
  return true;
}
static_assert(table_follows_the_controls(),
              "one control table row per control, in the order of Ctl");

// The row of a control.
constexpr const ControlRow& control_row(Ctl c) {
  return kControlTable[static_cast<std::size_t>(c)];
}

// Whether a row is one of the simulation panel's parameter rows.
constexpr bool is_parameter_row(const ControlRow& r) {
  return r.box != nullptr;
}

}  // namespace kv
