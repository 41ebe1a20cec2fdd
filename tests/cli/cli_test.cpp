// Both programs' command lines, as a user meets them: what each argument list is answered
// with (exit status, and where the message goes and what it names), the manual pages and
// the bash completion against the options the programs declare, and the progress line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "cli/progress_line.h"
#include "simulation/box_choice.h"
#include "tests/support/files.h"

namespace {

namespace fs = std::filesystem;

using Answer = kv::test::CliRun;
using kv::test::read_file;

// Runs `command` (a shell command line) in a folder of its own (ctest runs the cases at once).
Answer run(const std::string& command, const kv::test::TempDir& dir = kv::test::TempDir()) {
  const std::string cmd = "cd " + dir.path().string() + " && " + command + " >out.txt 2>err.txt";
  const int rc = std::system(cmd.c_str());
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, read_file(dir.path() / "out.txt"),
          read_file(dir.path() / "err.txt")};
}

std::string cli(const std::string& args) {
  return std::string(KV_CLI_PATH) + " " + args;
}

const char* const kCommands[] = {"decode", "dimension", "lyapunov", "print",
                                 "record", "simulate",  "spectrum", "sweep"};

struct Case {
  std::string command;  // a shell command line
  int status;
  std::string said;  // a part of what it prints: on standard output after a success, else
                     // on standard error
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.command;
}

std::vector<Case> cases() {
  std::vector<Case> c = {
      // The program itself.
      {cli(""), 2, "Usage: kestavor-cli COMMAND"},
      {cli("--help"), 0, "Exit status: 0 done"},
      {cli("--version"), 0, "kestavor-cli 0."},
      {cli("bogus"), 2, "unknown command \"bogus\""},
      {cli("--bogus"), 2, "unknown option \"--bogus\""},
      // Numbers that are not numbers, and counts that are too small, name the option.
      {cli("simulate --drive-frequency abc --orbit 5 -o a.pha"), 2, "--drive-frequency"},
      {cli("simulate --orbit 0 -o a.pha"), 2, "--orbit"},
      {cli("simulate --orbit= -o a.pha"), 2, "--orbit"},
      {cli("decode r.raw --orbit ten -o a.pha"), 2, "--orbit"},
      {cli("simulate --orbit 5 --speed 3 -o a.pha"), 2, "--speed"},
      {cli("record --box demo --poincare 0 -o a.poi"), 2, "--poincare"},
      {cli("decode r.raw --orbit 1000001 -o a.pha"), 2, "--orbit"},
      {cli("spectrum a.pha --window Welch --segments abc -o a.fft"), 2, "--segments"},
      {cli("spectrum a.pha --window Welch --segments 0 -o a.fft"), 2, "--segments"},
      {cli("print a.pha --range 3 -o a.pdf"), 2, "--range"},
      {cli("print a.pha --revolutions 4 -o a.pdf"), 2, "--revolutions"},
      {cli("print a.pha --range 2 --revolutions 3 -o a.pdf"), 2, "--range"},
      {cli("print a.pha -o a.txt"), 2, ".pdf or .png"},
      // What is missing is named; a choice takes one of its values.
      {cli("simulate --orbit 5"), 2, "-o is required"},
      {cli("decode r.raw -o a.pha"), 2, "--orbit N or --poincare N"},
      {cli("decode r.raw --orbit 5 --poincare 5 -o a.pha"), 2, "--poincare"},
      {cli("spectrum a.pha -o a.fft"), 2, "--window"},
      {cli("spectrum a.pha --window Bogus -o a.fft"), 2, "Bogus"},
      {cli("dimension"), 2, "FILE.poi"},
      {cli("lyapunov a.pha b.pha"), 2, "b.pha"},
      {cli("record --box nonsense --orbit 5 -o a.pha"), 2, "\"nonsense\""},
      {cli("record --box usb:zz:2131 --orbit 5 -o a.pha"), 2, "\"zz\""},
      {cli("record --box replay: --orbit 5 -o a.pha"), 2, "needs a file name"},
      {cli("record --orbit 5 -o a.pha"), 2, "--box is required"},
      // A flag takes no value.
      {cli("simulate --orbit 5 --real-time=yes -o a.pha"), 2, "--real-time takes no value"},
      // "--" ends the options, "-oFILE" and "--option=value" are read as the other forms.
      {cli("dimension -- -missing.poi"), 1, "-missing.poi"},
      {cli("simulate --orbit=3 -ooutput.pha && test -s output.pha"), 0, ""},
      {cli("sweep --param damping --from 1e-5 --to 2e-5 --steps 2 --transient 1 --points 1 "
           "-o s.csv && test -s s.csv"),
       0, ""},
      // A file that cannot be read is a failure, not a command-line error.
      {cli("decode missing.raw --orbit 5 -o a.pha"), 1, "missing.raw"},
  };
  for (const char* command : kCommands)
    c.push_back(
        {cli(std::string(command) + " --help"), 0, "Usage: kestavor-cli " + std::string(command)});
#ifdef KV_WINDOW_PATH
  // The window's arguments are read before the window system starts: no display needed.
  const std::string window =
      "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + std::string(KV_WINDOW_PATH) + " ";
  c.push_back({window + "--help", 0, "--box BOX"});
  c.push_back({window + "--version", 0, "kestavor 0."});
  c.push_back({window + "--bogus", 2, "unknown argument '--bogus'"});
  c.push_back({window + "--box bogus", 2, "\"bogus\""});
  c.push_back({window + "--box", 2, "--box needs a value"});
  c.push_back({window + "-platform", 2, "-platform needs a value"});
  c.push_back({window + "--box demo", 1, "no display"});
#endif
  return c;
}

// The progress line tells a rate and the time left only from a second of data on.
TEST(ProgressLine, TellsTheRateOnlyFromTheFirstSecond) {
  using kv::cli::ProgressLine;
  EXPECT_EQ(ProgressLine::format(500, 1000, "points", 0.9),
            "[##########..........] 500 of 1000 points");
  EXPECT_EQ(ProgressLine::format(500, 1000, "points", 2),
            "[##########..........] 500 of 1000 points  250/s  0:02 left");
}

class CommandLine : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLine, AnswersWithItsExitStatusAndMessage) {
  const Case& c = GetParam();
  const Answer r = run(c.command);
  EXPECT_EQ(r.status, c.status) << c.command << "\n" << r.out << r.err;
  EXPECT_NE((c.status == 0 ? r.out : r.err).find(c.said), std::string::npos)
      << c.command << "\nstdout: " << r.out << "\nstderr: " << r.err;
  // A failure is told on standard error only; a success prints only its result.
  EXPECT_EQ(c.status == 0 ? r.err : r.out, "") << c.command;
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, CommandLine, ::testing::ValuesIn(cases()));

// The options a command's --help lists: "--name" and "-o".
std::set<std::string> options_of(const std::string& help) {
  std::set<std::string> names;
  std::regex option(R"(^\s+(?:-h,)?(--?[a-z][a-z0-9-]*))");
  std::istringstream in(help);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_search(line, m, option) && m[1] != "--help") names.insert(m[1]);
  }
  return names;
}

// A manual page's text as a reader sees it: the alternating-font requests' words joined,
// no font changes, "\-" a hyphen; the requests' lines start with their request (".TP").
std::string man_text(const std::string& page) {
  static const std::regex request(R"(\.[BIR]{1,2} .*)"), word(R"re("([^"]*)"|(\S+))re");
  std::string text, line;
  std::istringstream in(read_file(fs::path(KV_SOURCE_DIR) / "packaging" / page));
  while (std::getline(in, line)) {
    if (std::regex_match(line, request)) {
      const bool alternate = line[2] != ' ';
      text += ".\n";
      std::string sep;
      for (std::sregex_iterator w(line.begin() + (alternate ? 4 : 3), line.end(), word);
           w != std::sregex_iterator(); ++w, sep = alternate ? "" : " ")
        text += sep + ((*w)[1].matched ? (*w)[1].str() : (*w)[2].str());
      text += "\n";
    } else {
      text += line + "\n";
    }
  }
  text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
  return std::regex_replace(text, std::regex(R"(\\-)"), "-");
}

// Whether `text` names `word` as a whole ("usb" is not in "usb:VID:PID").
bool names(const std::string& text, const std::string& word) {
  return std::regex_search(text, std::regex("(^|[\\s(\\[|])" + word + "($|[\\s,.;)\\]|=])"));
}

// Both manual pages and the program's usage lines list every kind of box a user can choose.
TEST(CommandLine, TheManualPagesAndTheUsageListEveryBoxKind) {
  const std::string texts[] = {man_text("kestavor.1"), man_text("kestavor-cli.1"),
                               run(cli("--help")).out};
  for (const kv::BoxKind& kind : kv::box_kinds())
    for (const std::string& text : texts)
      EXPECT_TRUE(kind.name.empty() || names(text, kv::box_syntax(kind)))
          << "--box " << kv::box_syntax(kind) << " is not in:\n"
          << text;
}

// The manual page names every option of every command in the command's own entry, and
// the program's help lists them in the commands' usage lines.
TEST(CommandLine, TheManualPageAndTheHelpListTheSameOptions) {
  const std::string text = man_text("kestavor-cli.1");
  const Answer all = run(cli("--help"));
  auto entry_at = [&](const std::string& command) { return text.find(".TP\n.\n" + command + " "); };
  for (const char* command : kCommands) {
    const std::size_t at = entry_at(command);
    ASSERT_NE(at, std::string::npos) << command << " has no entry";
    std::size_t end = text.find("\n.SH", at);
    for (const char* other : kCommands)
      if (entry_at(other) > at && entry_at(other) < end) end = entry_at(other);
    const std::string entry = text.substr(at, end - at);
    const std::set<std::string> options =
        options_of(run(cli(std::string(command) + " --help")).out);
    EXPECT_FALSE(options.empty()) << command;
    for (const std::string& o : options) {
      EXPECT_TRUE(names(entry, o)) << command << " " << o << " is not in its manual entry";
      EXPECT_TRUE(names(all.out, o)) << command << " " << o << " is not in the usage lines";
    }
  }
}

// The completion asks the program for its commands, options and values, and completes the
// "--option=value" form (which bash splits at "=") as the "--option value" one.
TEST(CommandLine, TheBashCompletionOffersWhatTheProgramDeclares) {
  const std::string script = std::string(KV_SOURCE_DIR) + "/packaging/kestavor-cli.bash-completion";
  const struct {
    std::string typed;  // the command line so far; its last word is completed
    std::string offered;
  } cases[] = {
      {"si", "simulate"},
      {"simulate --drive-f", "--drive-frequency"},
      {"spectrum a.pha --window W", "Welch"},
      {"spectrum a.pha --window=W", "Welch"},
      {"print a.pha --revolutions 1", "17"},
      {"record --box us", "usb:"},
      {"record --box=de", "demo"},
      {"sweep --param2 drive-f", "drive-frequency"},
  };
  for (const auto& t : cases) {
    // COMP_WORDS as bash makes them: split at blanks, "=" and ":".
    const kv::test::TempDir dir;
    std::ofstream(dir.path() / "complete.sh")
        << "compopt() { :; }\nsource " << script << "\nCOMP_LINE='" << KV_CLI_PATH << " " << t.typed
        << "'\nCOMP_POINT=${#COMP_LINE}\n"
        << "COMP_WORDS=($(sed 's/[=:]/ & /g' <<<\"$COMP_LINE\"))\n"
        << "COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_kestavor_cli\n"
        << "printf '%s\\n' \"${COMPREPLY[@]}\"\n";
    const Answer r = run("bash complete.sh", dir);
    EXPECT_NE(r.out.find(t.offered + "\n"), std::string::npos) << t.typed << ":\n"
                                                               << r.out << r.err;
  }
}

}  // namespace
