// The Lyapunov estimate as the window shows it. While it runs, Text67 reads "Calculating
// Lyapunov Exponent ... Please wait", Text68 shows one progress mark per two evolution
// steps and HALT is cyan; afterwards Text67 shows the status text (hidden after HALT or a
// file that cannot be read, which is told in a message box), Text68 is hidden and HALT is
// grey and disabled.
#pragma once

#include <string>

#include "chaos/lyapunov.h"

namespace kv {
struct Form1;
class RunControl;

inline constexpr const char* kLyapunovCalculating =
    "Calculating Lyapunov Exponent\r\n               Please wait\r\n";

// Text68 after `steps` steps: a blank, "g" for every two steps done, "c" for the rest of
// 21 places.
std::string lyapunov_progress_marks(int steps);

// The watch that shows the running estimate on the window.
LyapunovWatch lyapunov_watch(Form1& f);
// The texts and HALT after the estimate, and the message of a file that cannot be read.
void show_lyapunov_outcome(Form1& f, const LyapunovRun& run);

// The estimate of the orbit file at `path` with the window's side around it.
LyapunovRun lyapunov_command(Form1& f, const std::string& path, RunControl& run);

}  // namespace kv
