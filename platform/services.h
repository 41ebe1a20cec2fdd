// The window-system services the window's commands use, each behind a small interface.
// The window provides Qt implementations (platform/qt); tests use scripted ones
// (tests/support/scripted_services.h). No engine sees them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace kv {

enum class MsgIcon { None, Information, Question, Warning, Critical };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A message box with an OK button.
  virtual void message(const std::string& text, const std::string& title, MsgIcon icon) = 0;
  // A message box with Yes and No; true for Yes.
  virtual bool ask_yes_no(const std::string& text, const std::string& title, MsgIcon icon) = 0;
  // An input box; returns the text typed, or an empty text on Cancel.
  virtual std::string input_box(const std::string& prompt, const std::string& title,
                                const std::string& default_text) = 0;
  // File dialogs. filter uses the "description|pattern|..." form; an empty result
  // means the dialog was cancelled.
  virtual std::string open_file(const std::string& filter, const std::string& initial_dir,
                                const std::string& file_name) = 0;
  virtual std::string save_file(const std::string& filter, const std::string& default_ext,
                                const std::string& initial_dir, const std::string& file_name) = 0;
};

// A position in the design's pixels: (0, 0) is the window's top-left client corner and
// the window's full extent is 1024 x 768 whatever its actual size on the screen.
struct DesignPoint {
  int x = -1;
  int y = -1;
};

class Pointer {
 public:
  virtual ~Pointer() = default;
  virtual DesignPoint cursor_pos() = 0;
  // The left button's asynchronous key state: bit 15 set while the button is down, bit 0
  // set when it was pressed since the previous query. So -32768 means "down, and already
  // seen", -32767 "down and freshly pressed", 0 "up".
  virtual std::int16_t async_left_button() = 0;
  // True once for each press of the Escape key made while a long command runs.
  virtual bool take_escape() = 0;
  // The left-button press now held down has been acted on by a running command's poll:
  // that click is not delivered again to its button after the command.
  virtual void forget_press() {}
};

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  virtual void open_contents(const std::string& help_file) = 0;
  virtual void quit() = 0;
};

// Lets a long command keep the window alive: pump_if_due processes pending window events
// at a bounded rate (user input is held back and delivered after the command); repaint
// makes every change to the controls and surfaces visible at once.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void pump_if_due() = 0;
  virtual void repaint() = 0;
};

// The 100 ms timer of the window (it only matters that it can be switched on and off).
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void set_enabled(bool on) = 0;
  virtual bool enabled() const = 0;
};

struct Services {
  Dialogs& dialogs;
  Pointer& pointer;
  Clock& clock;
  HelpViewer& help;
  EventPump& pump;
  Timer& timer1;
};

}  // namespace kv
