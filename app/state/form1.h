// The program's one window object as the commands see it: the state of every subsystem,
// each group owned by its subsystem (the plots, the data file, the acquisition, the
// simulation, the chaos estimates, the spectrum) and kept under the names used throughout
// the code, plus the controls, the open files, the interface box and the platform
// services. Nothing here depends on Qt; the window, the tests and kestavor-cli all drive a
// Form1. Engines take only the groups they use; the controls stay on this side.
#pragma once

#include <cstdint>
#include <string>

#include "acquisition/acquisition_state.h"
#include "app/state/controls.h"
#include "app/state/controls_plot_view.h"
#include "chaos/chaos_state.h"
#include "datafiles/save_state.h"
#include "fft/spectrum_state.h"
#include "platform/printer.h"
#include "platform/services.h"
#include "platform/text_files.h"
#include "plot/plot_state.h"
#include "simulation/simulation_state.h"

namespace kv {

struct Form1 : PlotState, SaveState, AcquisitionState, SimulationState, ChaosState, SpectrumState {
  explicit Form1(Services services);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  Services sys;
  Controls ui;
  ControlsPlotView plot_view{ui, sys.pump};  // the plots' parts as controls of the window
  FileTable files;
  std::string program_dir;  // initial folder of the file dialogs (platform/start_folder.h)
  std::string help_file = "pendulum_help.hlp";

  // --- Program bookkeeping (not part of the design's state) ---
  bool exit_requested = false;   // a command asked the program to end
  bool command_running = false;  // a long command is in progress
  Printers* printers = nullptr;  // the printer and PDF files; none in a build without them

  // Shows a line in the status text (the connection status box) in the given colour.
  void show_status(const std::string& text, std::uint32_t color = kRed);
};

// Closes the help viewer (harmless when it is not open).
void clear_help(Form1& f);
// Hides every plot and its labels; nothing is erased.
void clear_screen(Form1& f);
// Tells a data file's failure (which file, why, what was kept) as a "File error" box.
void show_file_error(Form1& f, const std::string& text);
// Closes and keeps a data file left open by an earlier command, telling a failure.
void close_data_file(Form1& f);

}  // namespace kv
