// kestavor-cli: runs the program's commands without a window, over the same code.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_registry.h"
#include "cli/signal_run_control.h"
#include "platform/licence_notice.h"
#include "platform/os_files.h"

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

// The exit status of a command that returned `status`: results that did not all reach
// standard output are a failure (1), and a command that a signal stopped before it was done
// ends with 128 + the signal.
int finish(int status) {
  std::cout.flush();
  errno = 0;
  const bool written = !std::cout.fail() && std::fflush(stdout) == 0 && !std::ferror(stdout);
  const int err = errno;
  const int sig = kv::os::stop_requested();
  if (sig != 0 && status != 0) return 128 + sig;
  if (!written && status == 0) {
    std::cerr << "kestavor-cli: the results could not be written to standard output"
              << (err ? ": " + std::string(std::strerror(err)) : std::string()) << "\n";
    return 1;
  }
  return status;
}

int dispatch(const std::vector<std::string>& args) {
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
      // here is a programming error (or no memory), still reported rather than aborting,
      // and a failure of the run (1), not of its command line.
      try {
        return c.run(rest);
      } catch (const std::exception& e) {
        std::cerr << "kestavor-cli: " << args[0] << " failed: " << e.what() << "\n";
        return 1;
      }
    }
  }
  return kv::cli::fail("unknown command \"" + args[0] + "\" (see kestavor-cli --help)");
}

}  // namespace

int main(int argc, char** argv) {
  kv::cli::install_stop_signals();
  return finish(dispatch(std::vector<std::string>(argv + 1, argv + argc)));
}
