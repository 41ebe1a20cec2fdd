// How a command given a request ended, for the outcomes of the simulation and the
// spectrum's stages: an outcome with this status carries, when the command did not finish,
// the reason told to the user (naming the file or the value at fault).
#pragma once

namespace kv {

enum class CommandStatus {
  done,       // the command did its work
  cancelled,  // the user cancelled a question; nothing changed
  halted,     // HALT (or a signal) stopped it
  failed,     // bad input or a failed read/write; the outcome's reason says what
};

}  // namespace kv
