// Typed requests and outcomes of the commands still to be built ("Plot file", "Dimension",
// "Print"): a click handler asks its questions through the dialogs and fills the request,
// kestavor-cli fills the same request from its arguments, and both call the same engine
// with a RunControl. An outcome says how the command ended and, when it did not finish,
// why (a readable reason naming the file or the device).
#pragma once

#include <string>

namespace kv {

// How a command ended.
enum class CommandStatus {
  done,       // the command did its work
  cancelled,  // the user cancelled a question; nothing changed
  halted,     // HALT (or a signal) stopped it
  failed,     // bad input or a failed read/write; `reason` says what
};

// "Plot file": draws a saved orbit or Poincare file.
struct PlotFileRequest {
  std::string path;  // the *.pha or *.poi file
  int range = 0;     // the plot's range setting (the range control's value)
};
struct PlotFileOutcome {
  CommandStatus status = CommandStatus::failed;
  std::string reason;
  long long points = 0;  // points drawn
};

// "Dimension": the dimension estimate of an orbit file.
struct DimensionRequest {
  std::string path;  // the *.pha file
};
struct DimensionOutcome {
  CommandStatus status = CommandStatus::failed;
  std::string reason;
  double dimension = 0;
};

// "Print": the stored plot tables to a printer or a file.
struct PrintRequest {
  std::string target;  // the printer's name, or the path of the file to write
};
struct PrintOutcome {
  CommandStatus status = CommandStatus::failed;
  std::string reason;
};

}  // namespace kv
