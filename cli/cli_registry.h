// Sub-commands of kestavor-cli register themselves here: each declares its options on its
// own part of the command line (a CLI11 sub-command) and runs from the values they filled.
// main() builds the command line from the registry; the usage lines of --help are made
// from the same declarations, so help, usage and the options read cannot disagree.
//
// Exit statuses, one rule for every command: 0 done, 1 refused or failed (an unreadable or
// unsuitable file, too short, a write error), 2 an error on the command line, 128 + the
// signal's number when SIGINT, SIGTERM or SIGHUP stopped it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/outcome.h"

namespace CLI {
class ParseError;
class App;
}  // namespace CLI

namespace kv {
struct PanelBox;
}  // namespace kv

namespace kv::cli {

// The "--orbit N | --poincare N" choice of the saving commands: one of the two, N from 1 to
// the most points the file kind holds.
struct SaveCount {
  bool orbit = false;
  std::int64_t points = 0;
};

// The options and arguments of one command, declared on its part of the command line.
// Each value lands in the variable given, which must outlive the command's run. `type`
// names a value in usage and help ("FILE.pha", "N"). A value that does not fit is a
// command-line error naming the option.
class Options {
 public:
  explicit Options(CLI::App& app) : app_(app) {}

  // A file argument, required.
  void file(std::string& path, const std::string& type, const std::string& help);
  void text(const std::string& name, std::string& value, const std::string& type,
            const std::string& help, bool required = false);
  // A value that must read as a number; the text is kept as typed.
  void number_text(const std::string& name, std::string& text, const std::string& help);
  // The option of a parameter box of the simulation's panel ("--mgr"): a number, its help
  // the box's caption, unit and start-up text.
  void panel_box(const PanelBox& box, std::string& text);
  // A whole number from `least` to `most`.
  void count(const std::string& name, std::int64_t& value, const std::string& type,
             std::int64_t least, std::int64_t most, const std::string& help);
  // One of `values`; a text is matched without regard to case and stored as listed.
  void one_of(const std::string& name, std::string& value, const std::string& type,
              const std::vector<std::string>& values, const std::string& help, bool required);
  void one_of(const std::string& name, int& value, const std::string& type,
              const std::vector<int>& values, const std::string& help);
  // A flag: it takes no value ("--quiet=yes" is a command-line error).
  void flag(const std::string& name, bool& value, const std::string& help);
  // "-o FILE", required.
  void output(std::string& path, const std::string& type);
  void save_count(SaveCount& save, std::int64_t most_orbit_points,
                  std::int64_t most_poincare_points);
  // Options `a` and `b`, declared before, may not both be given.
  void exclusive(const std::string& a, const std::string& b);

 private:
  CLI::App& app_;
};

struct Command {
  std::string name;
  std::string summary;  // one line: what it does
  // Declares the options and arguments; `run` reads the variables they fill.
  std::function<void(Options&)> declare;
  // Runs once the command line was read; returns the exit status.
  std::function<int()> run;
};

std::vector<Command>& registry();

struct Register {
  explicit Register(Command c) { registry().push_back(std::move(c)); }
};

// What a command line that cannot be read gets told: CLI11's message, except that a flag
// given a value ("--json=yes") is told as "--json takes no value" rather than CLI11's
// "json was given a disallowed flag override".
std::string parse_error_text(const CLI::ParseError& e);

// The usage line of a declared command: its arguments and options in the order declared,
// optional ones in brackets, the alternatives of a choice as "(--orbit N | --poincare N)".
std::string usage_of(const CLI::App& command);

// The exit status of a command that ran to its outcome: 0 done, 1 refused or failed, 128 +
// `signal` when halted by SIGINT, SIGTERM or SIGHUP (`signal` 0 when none came: a halt
// without a signal is a failure).
int exit_status(const Outcome& outcome, int signal = 0);
// Prints "kestavor-cli: <message>" to standard error and returns 2 (a command-line error).
int usage_error(const std::string& message);
// Prints "kestavor-cli: <message>" to standard error and returns 1 (refused or failed).
int failed(const std::string& message);

}  // namespace kv::cli
