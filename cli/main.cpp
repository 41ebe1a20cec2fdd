// kestavor-cli: runs the program's commands without a window, over the same code.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_registry.h"
#include "platform/licence_notice.h"

namespace {

void print_help() {
  auto& cmds = kv::cli::registry();
  std::sort(cmds.begin(), cmds.end(), [](auto& a, auto& b) { return a.name < b.name; });
  std::cout << "Usage: kestavor-cli COMMAND [ARGUMENTS]\n"
               "Runs the Kestavor chaotic pendulum program's commands without a window.\n\n"
               "Commands:\n";
  for (const auto& c : cmds) {
    std::cout << "  " << c.name << " " << c.usage << "\n      " << c.summary << "\n";
  }
  std::cout << "\nOptions:\n  --help     show this help\n  --version  show the version\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    print_help();
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--version") {
    std::cout << "kestavor-cli " << KESTAVOR_VERSION << "\n" << kv::kLicenceNotice;
    return 0;
  }
  for (const auto& c : kv::cli::registry()) {
    if (c.name == args[0]) {
      std::vector<std::string> rest(args.begin() + 1, args.end());
      // Commands report their failures with fail() or an outcome's reason; an exception
      // here is a programming error (or no memory), still reported rather than aborting.
      try {
        return c.run(rest);
      } catch (const std::exception& e) {
        return kv::cli::fail(e.what());
      }
    }
  }
  return kv::cli::fail("unknown command \"" + args[0] + "\" (see kestavor-cli --help)");
}
