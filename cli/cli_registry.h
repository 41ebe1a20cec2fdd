// Sub-commands of kestavor-cli register themselves here; main() dispatches by name.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/outcome.h"

namespace kv::cli {

struct Command {
  std::string name;
  std::string usage;    // one line: arguments
  std::string summary;  // one line: what it does
  // Runs with the arguments after the command name; returns the exit status.
  std::function<int(const std::vector<std::string>&)> run;
};

std::vector<Command>& registry();

struct Register {
  explicit Register(Command c) { registry().push_back(std::move(c)); }
};

// Walks a command's arguments, the one reader of every sub-command: next() gives each in
// turn, value() the value of the option just taken, either written into it
// ("--option=value") or the argument after it ("--option value"). A usage error ("OPTION
// needs a value" when there is none, "OPTION takes no value" when an option that takes
// none was given one with "=") is kept in error(): value() then gives an empty text and
// next() ends the walk, so a command checks failed() right after its loop (and before
// reading a value it parses).
class ArgReader {
 public:
  explicit ArgReader(const std::vector<std::string>& args) : args_(args) {}
  bool next();
  // The argument, or for "--option=value" the option's name.
  const std::string& arg() const { return arg_; }
  const std::string& value();
  // Notes a usage error (the first one stays) and ends the walk.
  void refuse(std::string message);
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  const std::vector<std::string>& args_;
  std::size_t i_ = static_cast<std::size_t>(-1);
  std::string arg_, inline_value_, error_;
  bool has_inline_value_ = false;
};

// A whole number read from the arguments, or the usage error that stands in its place.
struct Count {
  long long value = 0;
  std::string error;  // empty when `value` was read
};

// The "--orbit N | --poincare N" choice of the saving commands.
struct SaveCount {
  std::string option;  // "--orbit" or "--poincare"; empty when not given
  std::string count;   // N as typed
  bool orbit() const { return option == "--orbit"; }
};
// Takes the current argument when it is --orbit or --poincare; true when it did. Giving
// both is a usage error of the reader.
bool take_save_count(ArgReader& args, SaveCount& save);

// N of a recording: a whole number from 0, at most 1000000 for an orbit and 2^31 - 1 for a
// Poincare recording; otherwise a readable usage error.
Count recording_count(const SaveCount& save);

// Small helpers shared by the commands.
// `text` as a whole number, or a readable usage error naming `option`.
Count parse_count(const std::string& option, const std::string& text);
// The one exit rule of kestavor-cli:
//   0          done;
//   1          refused or failed (an unreadable or unsuitable file, a file too short, a
//              write error);
//   2          a command-line error (fail());
//   128 + sig  halted by SIGINT, SIGTERM or SIGHUP (`signal`, 0 when none came; a halt
//              without a signal is a failure).
int exit_status(const Outcome& outcome, int signal = 0);
// A command-line error: prints "kestavor-cli: <message>" to standard error and returns 2.
int fail(const std::string& message);

}  // namespace kv::cli
