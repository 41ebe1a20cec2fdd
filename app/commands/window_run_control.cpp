#include "app/commands/window_run_control.h"

#include <filesystem>

#include "app/state/form1.h"

namespace kv {

namespace {
// The left button counts as pressed only when down and not freshly pressed since the
// previous query.
bool left_button_held(Form1& f) {
  return f.sys.pointer.async_left_button() == -32768;
}
}  // namespace

bool halt_button(Form1& f) {
  f.ui.set_visible(Ctl::HScroll1, false);
  f.ui.set_visible(Ctl::Text3, false);
  f.sys.pump.pump_if_due();
  DesignPoint p = f.sys.pointer.cursor_pos();
  bool result = kHaltBox.contains(p.x, p.y) ? left_button_held(f) : false;
  // The command acts on this press; the click is not delivered again after it.
  if (result) f.sys.pointer.forget_press();
  if (f.sys.pointer.take_escape()) result = true;
  f.ui.set_enabled(Ctl::Text7, true);
  f.sys.timer1.set_enabled(true);
  return result;
}

void WindowRunControl::progress(std::int64_t done, std::int64_t total) {
  if (!progress_text_) return;
  const bool finished = total > 0 && done >= total;
  if (!finished && (!pacer_.tick() || !pacer_.due(f_.sys.clock.tick_ms()))) return;
  f_.show_status(progress_text_(done, total), kGreen);
}

std::string file_name(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::string counted(std::int64_t n, const std::string& noun) {
  std::string digits = std::to_string(n < 0 ? -n : n);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), ",");
  std::string text = n < 0 ? "-" : "";
  text += digits;
  text += ' ';
  text += noun;
  if (n != 1) text += 's';
  return text;
}

void show_end_status(Form1& f, bool made, const std::string& text) {
  if (text.empty()) {
    f.ui.set_visible(Ctl::Text58, false);
    return;
  }
  f.show_status(text, made ? kGreen : kRed);
}

std::string recording_progress_text(const std::string& path, std::int64_t done,
                                    std::int64_t total) {
  return "Recording " + file_name(path) + ": " + std::to_string(done) + " of " +
         std::to_string(total) + " points";
}

std::string simulation_progress_text(const std::string& path, std::int64_t done,
                                     std::int64_t total) {
  return "Simulating " + file_name(path) + ": " + std::to_string(done) + " of " +
         std::to_string(total) + " points";
}

std::string plotting_progress_text(const std::string& path, std::int64_t done, std::int64_t total) {
  const std::int64_t percent = total > 0 ? done * 100 / total : 0;
  return "Plotting " + file_name(path) + ": " + std::to_string(percent) + " %";
}

std::string segment_progress_text(std::int64_t done, std::int64_t total) {
  return "Segment " + std::to_string(done) + " of " + std::to_string(total);
}

bool clear_button(Form1& f) {
  f.ui.set_visible(Ctl::HScroll1, false);
  f.ui.set_visible(Ctl::Text3, false);
  DesignPoint p = f.sys.pointer.cursor_pos();
  if (!(kClearBox.contains(p.x, p.y) && left_button_held(f))) return false;
  // The command restarts its plot on this press; the click is not delivered again after
  // it (that would clear the whole plot once more).
  f.sys.pointer.forget_press();
  return true;
}

}  // namespace kv
