// "Simulation" and the handlers of its parameter panel. The panel's boxes are read only by
// "Continue", so all edits made while the panel is open take effect together. The check
// boxes keep exactly one speed ("Real time" or "Computer time") and at most one kind of
// save file ("Phase plot" or "Poincare plot").
#include <optional>
#include <string>

#include "app/commands/commands.h"
#include "app/commands/simulation_window.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "datafiles/point_count.h"
#include "datafiles/save_file.h"

namespace kv {

namespace {

std::optional<i32> ask_point_count(Form1& f) {
  return point_count(
      f.sys.dialogs.input_box("Enter number of data points", "number of points", "1000"));
}

// "Continue": the panel's texts and check boxes, and for a saving run the point count and
// the path asked through the dialogs, make the request. Values the model cannot take are
// told before any question. A cancelled question ends the command as it stands.
void simulation_continue(Form1& f) {
  SimRequest request;
  request.panel = panel_texts(f);
  request.options = sim_options(f);
  if (std::string problem = check_panel(request.panel, read_panel(f, request.panel));
      !problem.empty()) {
    f.sys.dialogs.message(problem, "Pendulum parameters", MsgIcon::Warning);
    return;
  }
  if (request.options.phase_file || request.options.poincare_file) begin_continue(f);
  if (request.options.phase_file) {
    f.ui.set_visible(Ctl::Picture2, false);
    std::optional<i32> n = ask_point_count(f);
    if (!n) {
      close_data_file(f);
      end_before_run(f);
      return;
    }
    request.points = *n;
    request.path = f.sys.dialogs.save_file("(*.pha)|*.pha", "*.pha", f.program_dir, "");
    if (request.path.empty()) {
      f.number_of_points = *n;
      f.saving_orbit = kTrue;
      close_data_file(f);
      clear_screen(f);
      end_before_run(f);
      return;
    }
  } else if (request.options.poincare_file) {
    f.ui.set_visible(Ctl::Image1, true);
    f.marker_x = 200;
    f.marker_y = 200;
    for (Ctl c : {Ctl::Image1, Ctl::Picture1, Ctl::Frame5, Ctl::Frame8}) f.ui.set_visible(c, false);
    std::optional<i32> n = ask_point_count(f);
    if (!n) return end_before_run(f);
    request.points = *n;
    request.path = f.sys.dialogs.save_file("(*.poi)|*.poi", "*.poi", f.program_dir, "");
    if (request.path.empty()) {
      f.number_of_points = *n;
      f.saving_orbit = kFalse;
      clear_screen(f);
      end_before_run(f);
      return;
    }
  }
  WindowRunControl run(f, [&request](std::int64_t done, std::int64_t total) {
    return simulation_progress_text(request.path, done, total);
  });
  simulate_in_window(f, request, run);
}

}  // namespace

void Text9_Click(Form1& f) {
  clear_help(f);
  if (f.plot_flag == kFalse) {
    f.Picture1.Cls();
    clear_screen(f);
  }
  f.ui.set_visible(Ctl::Frame21, true);
  for (Ctl c : {Ctl::Frame9, Ctl::Frame10, Ctl::Image2, Ctl::Picture3, Ctl::Picture2, Ctl::Label2})
    f.ui.set_visible(c, false);
  f.ui.set_visible(Ctl::Picture5, true);
  f.sys.pump.repaint();
}

void Command21_Click(Form1& f) {
  simulation_continue(f);
}

void Command1_Click(Form1& f) {
  f.ui.set_visible(Ctl::Frame21, false);
}

// The speed boxes: the other box always takes the opposite state.
void Check1_Click(Form1& f) {
  f.ui.set_checked(Ctl::Check2, !f.ui[Ctl::Check1].checked);
}
void Check2_Click(Form1& f) {
  f.ui.set_checked(Ctl::Check1, !f.ui[Ctl::Check2].checked);
}

// The save boxes: checking one clears the other; clearing one leaves the other alone.
void Check3_Click(Form1& f) {
  if (f.ui[Ctl::Check3].checked) f.ui.set_checked(Ctl::Check4, false);
}
void Check4_Click(Form1& f) {
  if (f.ui[Ctl::Check4].checked) f.ui.set_checked(Ctl::Check3, false);
}

}  // namespace kv
