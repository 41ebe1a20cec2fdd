// Start-up and shutdown of the program: the window load (start-up screen, the interface
// box, the connection report, the panel, the default pendulum parameters), the 100 ms
// timer tick and "Exit program".
#pragma once

#include <memory>

#include "platform/interface_box.h"

namespace kv {
struct Form1;

// Runs the window load with the box that start-up opened (null when none could be
// opened). Returns false when the user chose to end the program at the start-up question.
// `why_no_box` says why no box could be opened: the start-up question "Exit the program?"
// begins with it, and it stays in the status text when the program runs on without a box.
bool Form_Load(Form1& f, std::unique_ptr<InterfaceBox> box, const std::string& why_no_box = {});
// The same load for a command run without a window (kestavor-cli): no message and no
// question; without a box the program goes on as after the answer No.
void load_headless(Form1& f, std::unique_ptr<InterfaceBox> box);
void reset_halt(Form1& f);
void Timer1_Timer(Form1& f);
// "Exit program": closes the help viewer and the device; sets exit_requested.
void Text12_Click(Form1& f);

}  // namespace kv
