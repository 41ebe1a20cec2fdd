// The program's one window object as the commands see it: the shared state that every
// subsystem reads and writes (under the names used throughout the code), the controls,
// the picture surfaces, the open files, the interface box and the platform services.
// Nothing here depends on Qt; the window, the tests and kestavor-cli all drive a Form1.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/state/controls.h"
#include "platform/interface_box.h"
#include "platform/printer.h"
#include "platform/services.h"
#include "platform/surface.h"
#include "platform/text_files.h"
#include "platform/vb_numeric.h"

namespace kv {

// Rows 0..1,000,000 of three columns (column 0 unused), as the printed page reads them.
// Every row reads as 0 until it is written. The rows are allocated as they are first used
// (growing by doubling, zero-filled), so a command that uses a few thousand rows does not
// pay for a million; a row beyond those allocated costs one comparison to find.
template <typename T>
class PointTable {
 public:
  static constexpr int kRows = 1000001;
  T& at(int row, int col) {
    if (row >= rows_) grow(row);
    return data_[static_cast<std::size_t>(row) * 3 + col];
  }
  T at(int row, int col) const {
    return row < rows_ ? data_[static_cast<std::size_t>(row) * 3 + col] : T{};
  }
  void clear() { std::fill(data_.begin(), data_.end(), T{}); }
  // Rows allocated so far.
  int allocated_rows() const { return rows_; }

 private:
  void grow(int row) {
    int rows = rows_ < 4096 ? 4096 : rows_ * 2;
    if (rows > kRows) rows = kRows;
    if (rows <= row) rows = row + 1;
    data_.resize(static_cast<std::size_t>(rows) * 3, T{});
    rows_ = rows;
  }
  std::vector<T> data_;
  int rows_ = 0;
};

// Design geometry of the picture surfaces, in twips of the 1024 x 768 layout.
inline constexpr int kPicture1Width = 6615, kPicture1Height = 5790;
inline constexpr int kPicture2Width = 6255, kPicture2Height = 5775;
inline constexpr int kPicture4Width = 1215, kPicture4Height = 1095;
inline constexpr int kSurfaceBorderPx = 2;

struct Form1 {
  explicit Form1(Services services);

  Services sys;
  Controls ui;
  Surface Picture1;  // phase-plane plot, also the spectrum plot
  Surface Picture2;  // Poincare plot
  Surface Picture4;  // title mark
  FileTable files;
  std::string program_dir;  // initial folder of the file dialogs (platform/start_folder.h)
  std::string help_file = "pendulum_help.hlp";

  // --- Public variables ---
  double rollover = 0;          // revolution count of the previous sample
  double initial_rollover = 0;  // raw revolution count at the second pass of a run
  i32 rollover_prev = 0;        // revolution count of the newest sample, relative
  u8 POIN_prev = 0;             // drive-marker bit of the previous sample (0 or 16)
  i16 cycle_number = 0;         // range factor: 0, 2, 4, 8, 16 or 32
  i32 number_of_points = 0;     // N of a recording or simulation
  vb_bool plot_flag = kFalse;   // a file plot or simulation is (or was just) running
  i32 cnt = 0;                  // row of orbit_points last written
  i32 poincare_cnt = 0;         // row of poincare_points last written
  double time_out = 0;          // simulation transient, seconds
  std::string window;           // FFT window of the spectrum on screen
  vb_bool FFT_flag = kFalse;    // the screen shows a spectrum

  // --- Private form-level variables ---
  double angle_window[17] = {};
  double time_window[17] = {};
  i32 fit_points = 0;
  i32 revolution_slots[10] = {};
  vb_bool poincare_event = kFalse;
  i16 phase_counts = 0;
  i32 phase_y = 0;
  double poincare_y = 0;
  // The fitted velocity value V of the acquisition's last pass (kept when no fit is possible).
  double velocity = 0;
  double marker_x = 0;
  i32 marker_y = 0;
  double plot_x = 0;
  vb_bool saving = kFalse;
  vb_bool saving_orbit = kFalse;
  i16 save_file_number = 0;
  std::string save_file_name;
  double inertia = 0, mgr = 0, drive_torque = 0, damping = 0, drive_omega = 0;
  double omega0 = 0;
  double initial_angle = 0, initial_velocity = 0;
  double drive_sine_prev = 0;
  double lyapunov_exponent = 0;

  // --- Module-level state ---
  long device_handle = 0;
  std::unique_ptr<InterfaceBox> device;  // the open interface box, if any
  PointTable<i32> orbit_points;
  PointTable<i16> poincare_points;
  double q_factor = 0, drive_amplitude = 0, drive_frequency = 0;
  i16 fft_points = 0;
  std::vector<float> spectrum = std::vector<float>(2049, 0.0f);

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

}  // namespace kv
