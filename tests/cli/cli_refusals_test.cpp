// Every way a kestavor-cli command is refused or fails on its files (the command line's own
// errors are in cli_test.cpp; three of them here show that they too change nothing), in one table:
// the exit status (2 for a command line that is wrong, 1 for a file that cannot be read, written or
// used), a standard error that names what is wrong, and a folder left exactly as it was (no file
// written, none replaced, no temporary file left behind).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/acquisition/scripted_box.h"
#include "tests/support/data_files.h"

namespace kv {
namespace {

struct Refusal {
  const char* args;  // "@name" stands for the file `name` in the test's folder
  int status;
  const char* says;  // a text standard error holds
};

void PrintTo(const Refusal& r, std::ostream* os) {
  *os << r.args;
}

class CliRefusal : public ::testing::TestWithParam<Refusal> {
 protected:
  void SetUp() override {
    test::Motion m;
    m.rate = 7;
    m.marker = [](long n) { return n % 37 < 3; };
    dir.write("session.raw", m.raw(200));
    // No record at all, a truncated record, and a single record (the first line needs more).
    dir.write("none.raw", "");
    dir.write("cut.raw", std::string(5, '\xff'));
    dir.write("one-record.raw", std::string(6, '\xff'));
    dir.write("old.pha", "older\r\n");
    dir.write("one.poi", test::poincare_file({{0.0, 0.0}}));
    dir.write("o.pha", test::orbit_file({{0.002, 0.1, 1.0, 0}}));
    dir.write("bad.pha", " 1 \r\nPHASE\r\n0.002 x 1 0\r\n");
    dir.write("empty.poi", " 0 \r\nPOINCARE\r\n");
    dir.write("page.pdf", "an older page");
    // Numbers no reader takes, lines that end with a CR alone, values no plot can hold.
    dir.write("inf.poi", " 1 \r\nPOINCARE\r\n 1 inf\r\n");
    dir.write("cr.poi", " 3 \rPOINCARE\r 1.25  2.5\r-.5  3\r 2  -4\r");
    dir.write("cr.pha", " 3 \rPHASE\r.002 1 2 0\r.004 1 2 0\r.006 1 2 0\r");
    dir.write("m.pha", " 1 \r\nPHASE\r\n.002 40 2 0\r\n");
    std::string five = " 3 \r\nPHASE\r\n";  // five columns
    for (const char* t : {".002", ".004", ".006"}) five += t + std::string(" 1 2 0 45\r\n");
    dir.write("c5.pha", five);
    std::string inf = " 512 \r\nFFT\r\nWelch\r\n";
    for (int i = 1; i <= 465; ++i) inf += std::to_string(i) + " inf\r\n";
    dir.write("inf.fft", inf);
  }
  // Every file of the folder with its bytes.
  std::map<std::string, std::string> folder() const {
    std::map<std::string, std::string> files;
    for (const std::string& name : dir.names()) files[name] = test::read_file(dir.file(name));
    return files;
  }
  std::string expand(std::string args) const {
    for (std::size_t at; (at = args.find('@')) != std::string::npos;)
      args.replace(at, 1, dir.file(""));
    return args;
  }

  test::TempDir dir;
};

TEST_P(CliRefusal, EndsWithItsStatusNamesWhatIsWrongAndChangesNothing) {
  const Refusal& r = GetParam();
  const auto before = folder();
  const test::CliRun run = test::run_cli(expand(r.args));
  EXPECT_EQ(run.status, r.status) << run.err;
  EXPECT_NE(run.err.find(r.says), std::string::npos) << run.err;
  EXPECT_EQ(folder(), before);
}

const Refusal kRefusals[] = {
    // decode and record
    {"decode @missing.raw --orbit 5 -o @x.pha", 1, "missing.raw"},
    {"decode @session.raw --orbit 5 -o @no/such/dir/x.pha", 1, "x.pha"},
    {"decode @session.raw --orbit 10 -o @session.raw", 2, "names the records file"},
    {"decode @none.raw --orbit 100 -o @old.pha", 1, "was not written"},
    {"decode @cut.raw --orbit 100 -o @old.pha", 1, "was not written"},
    {"decode @one-record.raw --orbit 100 -o @old.pha", 1, "was not written"},
    {"record --box usb:1234:5678 --orbit 5 -o @x.pha", 1, "1234:5678"},
    {"record --box replay:@session.raw --orbit 10 -o @x.pha --raw @session.raw", 2,
     "names the replayed file"},
    // simulate
    {"simulate --inertia 0 --orbit 10 -o @x.pha", 1, "\"Inertia=\""},
    {"simulate --orbit 10", 2, "-o is required"},
    {"simulate --orbit -3 -o @x.pha", 2, "--orbit: Value -3 not in range"},
    // dimension
    {"dimension @one.poi --json", 1, "undefined"},
    {"dimension @o.pha", 1, "orbit file"},
    {"dimension @none.poi", 1, "none.poi"},
    {"dimension @one.poi --json=yes", 2, "--json takes no value"},
    {"dimension @inf.poi", 1, "inf.poi cannot be read as a Poincare file: line 3: \"inf\""},
    {"dimension @cr.poi", 1, "cr.poi cannot be read as a Poincare file: line 1: a carriage"},
    // lyapunov and spectrum
    {"lyapunov @none.pha", 1, "none.pha"},
    {"spectrum @none.pha --window Welch -o @x.fft", 1, "none.pha"},
    // every reader decides a kind, a line end and a short file alike
    {"spectrum @one.poi --window Welch -o @x.fft", 1, "one.poi is not an orbit file: line 2"},
    {"lyapunov @cr.pha", 1, "cr.pha: line 1: a carriage return (CR) is not followed"},
    {"lyapunov @o.pha", 1, "o.pha: Lyapunov exponent: file too short"},
    {"spectrum @o.pha --window Welch -o @x.fft", 1, "o.pha is too short for one segment"},
#ifdef KV_CLI_PRINTS
    // print
    {"print @bad.pha -o @page.pdf", 1, "line 3"},
    {"print @one.poi -o @missing/page.pdf", 1, "missing/page.pdf"},
    {"print @empty.poi -o @e.pdf", 1, "nothing to print"},
    {"print @m.pha -o @r.png", 1, "m.pha cannot be plotted: line 3: the phase 40 is out of"},
    {"print @c5.pha -o @r.png", 1, "c5.pha cannot be plotted: line 5: the phase 45 is out of"},
    {"print @inf.fft -o @r.png", 1, "inf.fft cannot be plotted: line 4: \"inf\" is not a"},
#else
    {"print @one.poi -o @p.pdf", 2, "not available"},
#endif
};

INSTANTIATE_TEST_SUITE_P(Commands, CliRefusal, ::testing::ValuesIn(kRefusals));

}  // namespace
}  // namespace kv
