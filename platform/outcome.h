// How a command ended. Every engine returns an Outcome, or a result of its own that is an
// Outcome with the command's values added (SimOutcome, SpectrumResult, ...), and every
// face turns it into what it shows: the window a message box or the status text,
// kestavor-cli a line on standard error and its exit status. Engines do not throw for bad
// input or a failed read or write; an exception is a programming error.
#pragma once

#include <string>

namespace kv {

enum class Status {
  done,     // the command did its work
  halted,   // HALT (Escape, or a signal under kestavor-cli) stopped it
  refused,  // the request cannot be carried out on this input (an unsuitable or too short
            // file, a value out of range, a cancelled question); nothing was written
  failed,   // a file could not be read or written
};

struct Outcome {
  Status status = Status::failed;
  // refused, failed: what is wrong, naming the file or the value at fault; the text the
  // window shows. Empty for a refusal the user made himself (a cancelled question).
  std::string reason;

  bool done() const { return status == Status::done; }
  bool halted() const { return status == Status::halted; }
};

}  // namespace kv
