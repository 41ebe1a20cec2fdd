// The commands of the window: the click handlers (declared with the control table that
// names them, app/state/control_table.h) and the commands' functions the window,
// kestavor-cli and the tests call. Each runs its command to completion.
#pragma once

#include "app/commands/panel.h"
#include "app/commands/startup.h"
#include "app/state/control_table.h"
#include "chaos/dimension.h"
#include "fft/get_fft_data.h"
#include "fft/plot_file.h"
#include "plot/range_control.h"
#include "print/page.h"

namespace kv {
struct Form1;
class RunControl;

// Spectrum.
// The spectrum of a request with the window's side around it, as List1_Click does it
// with the answers it is given: HALT enabled, then given back; the Lyapunov texts; every
// ending that has a reason told in a message box. The window is request.window.
SpectrumResult spectrum_command(Form1& f, SpectrumRequest request, RunControl& run);
// Writes the spectrum on screen as a *.fft file at `path`; when it cannot, tells the user
// which file and why (an older file of that name is kept).
bool save_spectrum(Form1& f, const std::string& path);

// "Plot file", "Dimension" and "Print" as functions that return how the command ended.
PlotFileOutcome plot_file_command(Form1& f);
DimensionOutcome dimension_command(Form1& f);
PrintOutcome print_command(Form1& f);

}  // namespace kv
