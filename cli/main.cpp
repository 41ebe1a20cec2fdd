// kestavor-cli: runs the program's commands without a window, over the same code.
#include <CLI/CLI.hpp>
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

constexpr const char* kUsage = "Usage: kestavor-cli COMMAND [ARGUMENTS]\n";

// A command's --help starts with the usage line made from its declarations.
class UsageFormatter : public CLI::Formatter {
 public:
  std::string make_usage(const CLI::App* app, std::string) const override {
    return "Usage: kestavor-cli " + app->get_name() + " " + kv::cli::usage_of(*app) + "\n";
  }
};

void print_help(CLI::App& app) {
  std::cout << kUsage
            << "Runs the Kestavor chaotic pendulum program's commands without a window.\n\n"
               "Commands:\n";
  for (const kv::cli::Command& c : kv::cli::registry())
    std::cout << "  " << c.name << " " << kv::cli::usage_of(*app.get_subcommand(c.name))
              << "\n      " << c.summary << "\n";
  std::cout << "\n"
               "Options:\n"
               "  --help     show this help (COMMAND --help: the command's own)\n"
               "  --version  show the version\n"
               "\n"
               "Exit status: 0 done, 1 refused or failed, 2 an error on the command line,\n"
               "128 + N when signal N (SIGINT, SIGTERM, SIGHUP) stopped the command.\n";
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

int dispatch(int argc, char** argv) {
  auto& commands = kv::cli::registry();
  std::sort(commands.begin(), commands.end(), [](auto& a, auto& b) { return a.name < b.name; });
  CLI::App app{"", "kestavor-cli"};
  app.formatter(std::make_shared<UsageFormatter>());  // taken over by every command
  app.set_help_flag();  // the program's own help below; each command keeps its --help
  app.require_subcommand(1);
  for (const auto& c : commands) {
    CLI::App* sub = app.add_subcommand(c.name, c.summary);
    sub->set_help_flag("-h,--help", "show this command's usage and options");
    kv::cli::Options options(*sub);
    c.declare(options);
  }

  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kUsage << "Try 'kestavor-cli --help' for the commands.\n";
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    print_help(app);
    return 0;
  }
  if (args[0] == "--version") {
    std::cout << "kestavor-cli " << KESTAVOR_VERSION << "\n" << kv::kLicenceNotice;
    return 0;
  }
  const auto command = std::find_if(commands.begin(), commands.end(),
                                    [&](const auto& c) { return c.name == args[0]; });
  if (command == commands.end())
    return kv::cli::usage_error(
        (args[0].rfind('-', 0) == 0 ? "unknown option \"" : "unknown command \"") + args[0] +
        "\" (see kestavor-cli --help)");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.get_subcommand(args[0])->help();
    return 0;
  } catch (const CLI::ParseError& e) {
    std::cerr << "kestavor-cli " << args[0] << ": " << kv::cli::parse_error_text(e) << "\n"
              << "Usage: kestavor-cli " << args[0] << " "
              << kv::cli::usage_of(*app.get_subcommand(args[0])) << "\n";
    return 2;
  }
  // Commands report their failures through their outcome; an exception here is a
  // programming error (or no memory), still reported rather than aborting.
  try {
    return command->run();
  } catch (const std::exception& e) {
    return kv::cli::failed(e.what());
  }
}

}  // namespace

int main(int argc, char** argv) {
  kv::cli::install_stop_signals();
  return finish(dispatch(argc, argv));
}
