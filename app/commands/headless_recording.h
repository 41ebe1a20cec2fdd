// A "Save orbit" or "Save poincare" recording without a window, for kestavor-cli: a Form1
// over scripted services is started with the given box, the point-count box is answered
// with the count and the save dialog with the path, and the window's own command runs, so
// the file is byte-for-byte the one the window would write.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/commands/recording.h"
#include "platform/interface_box.h"

namespace kv {
class RunControl;

enum class RecordingKind { Orbit, Poincare };

struct HeadlessRecording {
  RecordingKind kind = RecordingKind::Orbit;
  std::string count_reply;    // what is typed into the point-count box
  std::string path;           // what is chosen in the save dialog
  bool system_clock = false;  // real time (a live box) or a scripted clock (a replay)
  RunControl* run = nullptr;  // HALT and Clear (e.g. Ctrl-C as HALT); none: run to the end
};

struct HeadlessResult {
  RecordingOutcome outcome;
  std::vector<std::string> messages;  // message boxes shown by the command (file errors)
  std::string status;                 // the status text, when the run left one
};

HeadlessResult record_headless(std::unique_ptr<InterfaceBox> box, const HeadlessRecording& job);

}  // namespace kv
