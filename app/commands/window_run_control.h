// The window's answer to a running command: HALT and Clear are buttons the user holds the
// mouse on while the command runs. The pointer is tested against the two buttons' boxes in
// the window's design pixels, and the left button must be held (reported down and already
// seen). Escape pressed while a command runs counts as a press on HALT. Every poll of HALT
// also gives the window its chance to process events (the bounded pump) and keeps the
// controls a run needs in their running state.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "platform/run_control.h"

namespace kv {
struct Form1;

struct PixelBox {
  int left, top, right, bottom;  // inclusive
  bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

inline constexpr PixelBox kHaltBox{288, 711, 359, 735};
inline constexpr PixelBox kClearBox{362, 711, 431, 735};

// One poll of HALT: hides the range control and its text, pumps window events when due,
// tests the pointer and Escape, enables "Clear" and keeps Timer1 running.
bool halt_button(Form1& f);
// One poll of Clear: hides the range control and its text and tests the pointer.
bool clear_button(Form1& f);

// The run control of every command started from the window (and of the tests that drive
// the window's polling through a scripted pointer). With a progress text set, progress is
// shown in the status text at most 10 times a second (the clock is read only every so
// many reports, see ProgressPacer), and always when the work is done.
class WindowRunControl : public RunControl {
 public:
  // The status text for `done` of `total`, e.g. "Recording run.pha: 1234 of 3000 points".
  using ProgressText = std::function<std::string(std::int64_t done, std::int64_t total)>;

  explicit WindowRunControl(Form1& f, ProgressText text = {})
      : f_(f), progress_text_(std::move(text)) {}
  bool halt_requested() override { return halt_button(f_); }
  bool clear_requested() override { return clear_button(f_); }
  void progress(std::int64_t done, std::int64_t total) override;

 private:
  Form1& f_;
  ProgressText progress_text_;
  ProgressPacer pacer_;
};

// The progress texts of the window's long commands.
std::string recording_progress_text(const std::string& path, std::int64_t done, std::int64_t total);
std::string simulation_progress_text(const std::string& path, std::int64_t done,
                                     std::int64_t total);
std::string segment_progress_text(std::int64_t done, std::int64_t total);
// "Plotting run.pha: 41 %" (done and total in bytes of the file read).
std::string plotting_progress_text(const std::string& path, std::int64_t done, std::int64_t total);

// How a command ended, in the status text, so that no progress text outlives its command:
// what was made (in green) when `made` is true, else what went wrong or what was kept (in
// red). An empty text hides the status (the command was cancelled before it began).
void show_end_status(Form1& f, bool made, const std::string& text);
// The file name of a path, as the status texts name it.
std::string file_name(const std::string& path);
// A count with its thousands grouped and its noun: "3,001 lines", "1 point".
std::string counted(std::int64_t n, const std::string& noun);

}  // namespace kv
