// A "Save orbit" or "Save poincare" recording without a window, for kestavor-cli: a Form1
// over scripted services is started with the given box without the start-up's question,
// and the request is given to the window's own recording engine, so the file is
// byte-for-byte the one the window would write.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/commands/recording.h"
#include "platform/interface_box.h"

namespace kv {
class RunControl;

struct HeadlessRecording {
  RecordingRequest request;
  bool system_clock = false;  // real time (a live box) or a scripted clock (a replay)
  RunControl* run = nullptr;  // HALT and Clear (e.g. Ctrl-C as HALT); none: run to the end
};

struct HeadlessResult {
  RecordingOutcome outcome;
  std::vector<std::string> messages;  // what the recording told (file errors)
  std::string status;                 // the status text, when the run left one
};

HeadlessResult record_headless(std::unique_ptr<InterfaceBox> box, const HeadlessRecording& job);

}  // namespace kv
