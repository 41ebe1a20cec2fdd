#include "cli/cli_registry.h"

#include <charconv>
#include <iostream>
#include <stdexcept>

namespace kv::cli {

std::vector<Command>& registry() {
  static std::vector<Command> commands;
  return commands;
}

long long parse_count(const std::string& option, const std::string& text) {
  long long v = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size())
    throw std::invalid_argument(option + " needs a whole number, not \"" + text + "\"");
  return v;
}

int fail(const std::string& message) {
  std::cerr << "kestavor-cli: " << message << "\n";
  return 2;
}

}  // namespace kv::cli
