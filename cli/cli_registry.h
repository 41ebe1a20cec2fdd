// Sub-commands of kestavor-cli register themselves here; main() dispatches by name.
#pragma once

#include <functional>
#include <string>
#include <vector>

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

// Small helpers shared by the commands.
// Throws std::invalid_argument with a readable message when `text` is not a whole number.
long long parse_count(const std::string& option, const std::string& text);
// Prints "kestavor-cli: <message>" to standard error and returns 2.
int fail(const std::string& message);

}  // namespace kv::cli
