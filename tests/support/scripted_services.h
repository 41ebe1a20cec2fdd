// Scripted stand-ins for the window system, for tests: answers come from queues that a
// test fills beforehand, and everything asked is recorded for inspection.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/run_control.h"
#include "platform/services.h"

namespace kv {

class ScriptedDialogs : public Dialogs {
 public:
  struct Shown {
    std::string kind, text, title;
  };
  std::deque<bool> yes_no_answers;        // default: No when empty
  std::deque<std::string> input_answers;  // default: "" (Cancel) when empty
  std::deque<std::string> open_answers;   // default: "" (Cancel)
  std::deque<std::string> save_answers;   // default: "" (Cancel)
  std::vector<Shown> shown;               // everything shown, in order

  void message(const std::string& text, const std::string& title, MsgIcon) override;
  bool ask_yes_no(const std::string& text, const std::string& title, MsgIcon) override;
  std::string input_box(const std::string& prompt, const std::string& title,
                        const std::string& default_text) override;
  std::string open_file(const std::string& filter, const std::string& initial_dir,
                        const std::string& file_name) override;
  std::string save_file(const std::string& filter, const std::string& default_ext,
                        const std::string& initial_dir, const std::string& file_name) override;
  // Number of dialogs of a kind ("message", "yesno", "input", "open", "save") shown.
  int count(const std::string& kind) const;
};

// A run control for tests: HALT is answered true from the `halt_at`-th poll on (counting
// from 1; 0 never), Clear true on the polls listed in `clear_at`; every poll and progress
// report is counted.
class ScriptedRunControl : public RunControl {
 public:
  long halt_at = 0;
  std::vector<long> clear_at;
  long halt_polls = 0, clear_polls = 0;
  std::vector<std::pair<std::int64_t, std::int64_t>> progress_reports;

  bool halt_requested() override {
    ++halt_polls;
    return halt_at > 0 && halt_polls >= halt_at;
  }
  bool clear_requested() override {
    ++clear_polls;
    for (long n : clear_at)
      if (n == clear_polls) return true;
    return false;
  }
  void progress(std::int64_t done, std::int64_t total) override {
    progress_reports.emplace_back(done, total);
  }
};

// A pointer at a fixed position whose button follows a script: `down` says whether the
// button is held; a release followed by a press between two queries is a fresh press.
class ScriptedPointer : public Pointer {
 public:
  DesignPoint pos;
  bool escape = false;
  // Called before every query with the query's number (0-based); may move the pointer
  // or press/release the button.
  std::function<void(ScriptedPointer&, long)> on_query;

  void press() {
    if (!down_) fresh_ = true;
    down_ = true;
  }
  void release() { down_ = false; }
  long queries() const { return queries_; }

  DesignPoint cursor_pos() override;
  std::int16_t async_left_button() override;
  bool take_escape() override;

 private:
  bool down_ = false;
  bool fresh_ = false;
  long queries_ = 0;
};

// A clock that advances only when told to (or by sleep_ms), for exact timing in tests.
class ManualClock : public Clock {
 public:
  std::int64_t now = 0;
  std::int64_t auto_step = 0;  // added after every tick_ms() call
  std::int64_t tick_ms() override {
    std::int64_t t = now;
    now += auto_step;
    return t;
  }
  void sleep_ms(int ms) override { now += ms; }
};

class RecordingHelpViewer : public HelpViewer {
 public:
  std::vector<std::string> calls;  // "open <file>" or "quit"
  void open_contents(const std::string& help_file) override {
    calls.push_back("open " + help_file);
  }
  void quit() override { calls.push_back("quit"); }
};

class NullPump : public EventPump {
 public:
  long pumps = 0, repaints = 0;
  void pump_if_due() override { ++pumps; }
  void repaint() override { ++repaints; }
};

class FlagTimer : public Timer {
 public:
  bool on = true;
  void set_enabled(bool e) override { on = e; }
  bool enabled() const override { return on; }
};

// One set of scripted services with their storage.
struct ScriptedServices {
  ScriptedDialogs dialogs;
  ScriptedPointer pointer;
  ManualClock manual_clock;
  RecordingHelpViewer help;
  NullPump pump;
  FlagTimer timer1;

  Services services() { return Services{dialogs, pointer, manual_clock, help, pump, timer1}; }
};

}  // namespace kv
