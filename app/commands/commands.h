// Every click handler of the window, in one place: the window, kestavor-cli and the tests
// call these. Each runs its command to completion.
#pragma once

#include "app/commands/panel.h"
#include "app/commands/startup.h"
#include "chaos/dimension.h"
#include "fft/get_fft_data.h"
#include "fft/plot_file.h"
#include "plot/range_control.h"
#include "print/page.h"

namespace kv {
struct Form1;
class RunControl;

// Data acquisition frame.
void Text10_Click(Form1& f);  // "Plot data"
void Text13_Click(Form1& f);  // "Save orbit"
void Text14_Click(Form1& f);  // "Save poincare"

// Simulation: the "Simulation" button and the parameter panel.
void Text9_Click(Form1& f);      // "Simulation": opens the panel
void Command21_Click(Form1& f);  // "Continue": the simulation run
void Command1_Click(Form1& f);   // "Cancel"
void Check1_Click(Form1& f);     // "Real time"     (called after the box toggled)
void Check2_Click(Form1& f);     // "Computer time"
void Check3_Click(Form1& f);     // "Phase plot"
void Check4_Click(Form1& f);     // "Poincare plot"

// Spectrum: the "FFT" button and a choice in the window list.
void Text15_Click(Form1& f);  // "FFT"
void List1_Click(Form1& f);   // reads ui[List1].value
// The spectrum of a request with the window's side around it, as List1_Click does it
// with the answers it is given: HALT enabled, then given back; the Lyapunov texts; every
// ending that has a reason told in a message box. The window is request.window.
SpectrumResult spectrum_command(Form1& f, SpectrumRequest request, RunControl& run);
// Writes the spectrum on screen as a *.fft file at `path`; when it cannot, tells the user
// which file and why (an older file of that name is kept).
bool save_spectrum(Form1& f, const std::string& path);

// "Plot file", "Dimension" and "Print". Each also exists as a function that returns how
// the command ended.
void Text8_Click(Form1& f);   // "Plot file"
void Text17_Click(Form1& f);  // "Dimension"
void Text16_Click(Form1& f);  // "Print"
PlotFileOutcome plot_file_command(Form1& f);
DimensionOutcome dimension_command(Form1& f);
PrintOutcome print_command(Form1& f);

}  // namespace kv
