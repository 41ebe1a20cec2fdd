// "Plot file" (Text8) and "Dimension" (Text17): each asks for its file, runs its engine
// with HALT (and Clear) polled from the window, and restores the panel however it ends.
#include <exception>

#include "app/commands/commands.h"
#include "app/commands/window_run_control.h"
#include "app/state/form1.h"
#include "chaos/dimension.h"
#include "fft/plot_file.h"

namespace kv {

namespace {

// The three kinds together first, then each alone.
constexpr const char* kPlotFileFilter =
    "Orbit, Poincare and spectrum files|*.pha;*.poi;*.fft|*.pha|*.pha|*.poi|*.poi|*.fft|*.fft";

void halt_off(Form1& f) {
  f.ui.set_enabled(Ctl::Text18, false);
  f.ui.set_back(Ctl::Text18, kGrey);
}

void halt_on(Form1& f) {
  f.ui.set_enabled(Ctl::Text18, true);
  f.ui.set_back(Ctl::Text18, kYellow);
}

// What Plot file made of the file, or why it stopped.
std::string plotted_text(const std::string& path, const PlotFileOutcome& out) {
  const std::string name = file_name(path);
  if (out.status == Status::halted)
    return "Halted: " + counted(out.records, "point") + " of " + name + " plotted";
  if (out.status != Status::done) return out.reason;
  if (out.kind == PlotFileOutcome::Kind::spectrum) return "Plotted spectrum " + name;
  return "Plotted " + name + ": " + counted(out.records, "point");
}

}  // namespace

PlotFileOutcome plot_file_command(Form1& f) {
  clear_help(f);
  for (Ctl c : {Ctl::Image3, Ctl::Text3, Ctl::Label3}) f.ui.set_visible(c, false);
  f.ui.set_back(Ctl::Text8, kWhite);
  f.Picture1.Cls();
  clear_screen(f);
  f.cnt = 0;
  f.poincare_cnt = 0;
  const std::string path = f.sys.dialogs.open_file(kPlotFileFilter, f.program_dir, "");
  halt_on(f);
  f.save_file_name = path;
  f.plot_flag = kTrue;
  f.sys.timer1.set_enabled(false);
  f.sys.pump.repaint();

  PlotFileOutcome out;
  out.status = Status::done;
  if (!path.empty()) {
    WindowRunControl run(f, [&path](std::int64_t done, std::int64_t total) {
      return plotting_progress_text(path, done, total);
    });
    // Every ending, an unforeseen error too, goes through the end below: the buttons come
    // back and the message says why.
    try {
      out = plot_file(PlotFileContext{f, f, f, f}, PlotFileRequest{path, f.ui[Ctl::HScroll1].value},
                      run);
    } catch (const std::exception& e) {
      out.status = Status::failed;
      out.reason = "The file " + path + " could not be plotted: " + e.what() + ".";
    }
  }
  // The end, whichever way the command finishes.
  f.save_file_number = 0;
  f.sys.timer1.set_enabled(true);
  f.ui.set_back(Ctl::Text8, kGrey);
  halt_off(f);
  show_end_status(f, out.status == Status::done, path.empty() ? "" : plotted_text(path, out));
  f.sys.pump.repaint();
  if (!out.reason.empty()) f.sys.dialogs.message(out.reason, "Plot file", MsgIcon::Warning);
  return out;
}

DimensionOutcome dimension_command(Form1& f) {
  clear_help(f);
  f.ui.set_visible(Ctl::Text3, false);
  f.ui.set_visible(Ctl::Image3, false);
  clear_screen(f);
  f.cnt = 0;
  f.ui.set_visible(Ctl::Label2, false);
  const std::string path = f.sys.dialogs.open_file("*.poi|*.poi", f.program_dir, "");
  f.save_file_name = path;
  DimensionOutcome out;
  out.status = Status::refused;  // no file chosen
  if (path.empty()) return out;
  f.sys.timer1.set_enabled(false);
  halt_on(f);
  f.sys.pump.repaint();

  WindowRunControl run(f);
  out = capacity_dimension_of_file(f, DimensionRequest{path}, run);
  halt_off(f);
  f.sys.timer1.set_enabled(true);
  // The points counted (a dimension, undefined or not) are shown in the result text; a
  // file that cannot be used (an orbit file, an unreadable one) is told with its reason.
  show_end_status(f, false, "");
  if (!out.text.empty()) {
    f.ui.set_text(Ctl::Text67, out.text);
    f.ui.set_visible(Ctl::Text67, true);
  } else if (!out.reason.empty()) {
    f.sys.dialogs.message(out.reason, "Dimension", MsgIcon::Warning);
  }
  f.sys.pump.repaint();
  return out;
}

void Text8_Click(Form1& f) {
  plot_file_command(f);
}

void Text17_Click(Form1& f) {
  dimension_command(f);
}

}  // namespace kv
