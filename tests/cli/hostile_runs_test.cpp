// kestavor-cli under hostile conditions: file-size limits, full output streams, inputs that
// shrink or never come, signals, odd names and malformed files. Each case is a bash script
// run in a fresh folder with $K naming the program (KESTAVOR_CLI overrides it, to try
// another build); the script prints what it observed (exit statuses, what became of the
// files, whether a message said what it should), and that text is compared as a whole.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

namespace kv {
namespace {

namespace fs = std::filesystem;

struct HostileRun {
  const char* name;
  const char* script;
  const char* observed;  // what the script must print
};

// Shared by the scripts: files in the program's formats made quickly.
//   orbit N FILE     an orbit file of N records (a slow wave, so the estimates have data)
//   poincare FILE    a Poincare file of 3 points
constexpr const char* kPrelude = R"sh(
orbit() { awk -v n="$1" 'BEGIN { printf " %d \r\nPHASE\r\n", n;
  for (i = 1; i <= n; i++) printf "%.4f %.4f %.4f 0\r\n", i * 0.002, sin(i * 0.01), cos(i * 0.0123) * 3 + sin(i * 0.0371) }' > "$2"; }
poincare() { printf ' 3 \r\nPOINCARE\r\n 1.25  2.5\r\n-.5  3\r\n 2  -4\r\n' > "$1"; }
leftovers() { ls -A | grep -c -E '^\.kestavor-|\.partial\.'; }
# The waits below are on what the program has done, polled every 10 ms (for at most 10 s).
until_() { for i in $(seq 1000); do "$@" && return 0; sleep 0.01; done; return 1; }
# Process $1 (or the program that timeout runs as its child) sleeps in a blocking call with
# its handler of SIGTERM installed.
blocked() { local p=$1 c; c=$(pgrep -P "$p" | head -n 1); [ -n "$c" ] && p=$c
  [ "$(sed 's/.*) //' /proc/$p/stat 2>/dev/null | cut -c1)" = S ] &&
  (( 0x$(awk '/^SigCgt/ { print $2 }' /proc/$p/status 2>/dev/null)0 & 0x40000 )); }
# Process $1 has begun reading the file $2 (its position is past the start), or has it
# mapped. Tried without starting a process, over and over (spin), so that it sees the read
# begin.
reading() { local f pos; for f in /proc/$1/fd/*; do [[ $f -ef $2 ]] || continue
  read -r _ pos < /proc/$1/fdinfo/${f##*/} && (( pos > 0 )) && return 0; done 2>/dev/null
  [[ $(< /proc/$1/maps) == *"/$2"* ]]; } 2>/dev/null
spin() { local end=$((SECONDS + 10)); until "$@"; do ((SECONDS < end)) || return 1; done; }
# The stopped process $1 has not read the file $2 to its end (a mapped file counts as unread).
unread() { local f pos; for f in /proc/$1/fd/*; do [[ $f -ef $2 ]] || continue
  read -r _ pos < /proc/$1/fdinfo/${f##*/} && (( pos < $(stat -c %s "$2") )) && return 0
  done 2>/dev/null; [[ $(< /proc/$1/maps) == *"/$2"* ]]; } 2>/dev/null
# Process $1 has a file of this folder open (its temporary file).
writing() { ls -l /proc/$1/fd 2>/dev/null | grep -q "$(pwd -P)/"; }
# File $1 holds more than $2 lines.
holds() { [ -f "$1" ] && [ "$(wc -l < "$1")" -gt "$2" ]; }
)sh";

const HostileRun kRuns[] = {
    {"FileSizeLimitIsAWriteError",
     R"(echo old > x.pha
(ulimit -f 100; exec $K simulate --orbit 100000 -o x.pha --quiet 2>err); echo "status $?"
cat x.pha; grep -c 'File too large' err; test -s x.incomplete.pha && echo kept; leftovers)",
     "status 1\nold\n1\nkept\n0\n"},
    {"ResultsThatCannotReachStandardOutputAreAFailure",
     R"(orbit 13000 o.pha; poincare p.poi
$K lyapunov o.pha --json > /dev/full 2>err; echo "lyapunov $?"
$K dimension p.poi > /dev/full 2>>err; echo "dimension $?"
grep -c 'standard output' err)",
     "lyapunov 1\ndimension 1\n2\n"},
    {"AnInputThatShrinksWhileItIsReadIsRefused",
     R"({ printf ' 3688200 \r\nPHASE\r\n'; yes $'.002 1.5 2.25 0\r' | head -n 3688200; } > t.orig
# 100 segments take the whole file. The case holds when the program is stopped after it
# began reading and before it read the end; a run that read it all first is tried again.
for try in 1 2 3 4 5 fail; do
  [ $try = fail ] && { echo "the whole file was always read before the stop"; break; }
  cp t.orig t.pha; rm -f t.fft
  $K spectrum t.pha --window Welch --segments 100 -o t.fft --quiet >/dev/null 2>err & p=$!
  spin reading $p t.pha; kill -STOP $p 2>/dev/null
  if unread $p t.pha; then
    truncate -s 1000000 t.pha; kill -CONT $p; wait $p; echo "status $?"; break
  fi
  kill -CONT $p 2>/dev/null; wait $p
done
grep -c 't.pha changed while it was read' err; ls t.fft 2>/dev/null; leftovers)",
     "status 1\n1\n0\n"},
    {"SignalsStopAReadThatWaitsOnAFifo",
     R"(mkfifo f
for c in "lyapunov f" "spectrum f --window Welch -o s.fft" "dimension f" "decode f --orbit 5 -o d.pha"; do
  timeout -s KILL 5 $K $c 2>>err & p=$!; until_ blocked $p; kill -TERM $p; wait $p; echo "${c%% *} $?"
done
exec 3<>f  # a writer that writes nothing: the read stalls
timeout -s KILL 5 $K lyapunov f 2>>err & p=$!; until_ blocked $p; kill -INT $p; wait $p; echo "pipe $?"
exec 3>&-
grep -c 'stopped by a signal' err; ls s.fft d.pha 2>/dev/null)",
     "lyapunov 143\nspectrum 143\ndimension 143\ndecode 143\npipe 130\n5\n"},
    {"AFailedOrHaltedRecordingNeverReplacesTheRawFile",
     R"($K record --box demo --orbit 100 -o d.pha --raw d.raw --quiet 2>err
echo old > old.raw
$K record --box replay:d.raw --poincare 5 -o nowhere/x.poi --raw old.raw 2>>err; echo "no folder $?"
mkdir dir.poi; $K record --box replay:d.raw --poincare 5 -o dir.poi --raw old.raw 2>>err; echo "folder $?"
head -c 10 d.raw > short.raw
$K record --box replay:short.raw --orbit 5 -o s.pha --raw old.raw 2>>err; echo "too short $?"
echo older > t.pha
for s in TERM HUP; do
  $K record --box demo --orbit 100000 -o t.pha --raw old.raw 2>>halt & p=$!
  until_ test -e t.partial.pha; kill -$s $p; wait $p; echo "$s $?"
done
cat old.raw t.pha; grep -c 'nothing of it was kept' halt; leftovers)",
     "no folder 1\nfolder 1\ntoo short 1\nTERM 143\nHUP 129\nold\nolder\n2\n0\n"},
    {"AReplayThatRunsOutBeforeTheCountKeepsItsLinesAndFails",
     R"($K record --box demo --orbit 200 -o d.pha --raw d.raw --quiet
$K record --box replay:d.raw --orbit 1000 -o r.pha --quiet 2>err; echo "replay ran out $?"
grep -o '[0-9]* of 1001 lines' err; test -s r.pha && echo kept)",
     "replay ran out 1\n201 of 1001 lines\nkept\n"},
    {"NoLeftoversAndACrashedRealTimeRunKeepsItsLines",
     R"(($K simulate --orbit 1000000 -o big.pha --quiet & p=$!; until_ writing $p; kill -9 $p; wait $p) 2>/dev/null
echo "computation $?"; leftovers
($K simulate --orbit 100000 --real-time -o rt.pha --quiet & p=$!; until_ holds rt.partial.pha 100; kill -9 $p; wait $p) 2>/dev/null
echo "real time $?"; ls rt.pha 2>/dev/null; awk 'END { print (NR > 100 ? "lines kept" : NR) }' rt.partial.pha
mkdir d; $K simulate --orbit 1000 --real-time -o d/x.pha --quiet 2>err & p=$!; until_ test -e d/x.partial.pha; mv d e; wait $p
echo "folder renamed $?"; grep -c 'still in that folder as x.partial.pha' err; ls e)",
     "computation 137\n0\nreal time 137\nlines kept\nfolder renamed 1\n1\nx.partial.pha\n"},
#ifdef KV_CLI_PRINTS
    {"EveryReaderRunsInBoundedMemory",
     R"(orbit 6000 o.pha; awk 'BEGIN { printf " 6000 \r\nPOINCARE\r\n";
  for (i = 1; i <= 6000; i++) printf "%.4f %.4f\r\n", sin(i * 0.7) * 3, cos(i * 1.3) * 5 }' > p.poi
truncate -s 2G o.pha p.poi  # a tail of zero bytes the disk does not store
(ulimit -v 400000; $K dimension p.poi --json > out 2>err); echo "dimension $?"; grep -o '"points": [0-9]*' out
(ulimit -v 400000; $K print o.pha -o r.png 2>>err); echo "print $?"
grep -c 'o.pha cannot be plotted: line 6003' err; grep -c bad_alloc err)",
     "dimension 0\n\"points\": 5000\nprint 1\n1\n0\n"},
    {"APageCutShortNeverReplacesAnEarlierOne",
     R"(orbit 20000 o.pha
$K print o.pha -o r.pdf > /dev/null 2>&1 && cp r.pdf good.pdf
(ulimit -f 4; exec $K print o.pha -o r.pdf 2>err); echo "pdf $?"
cmp -s r.pdf good.pdf && echo "kept"; grep -c 'r.pdf was not changed' err; leftovers)",
     "pdf 1\nkept\n1\n0\n"},
    {"AnOutputNameIsWrittenAsItsBytes",
     R"(poincare p.poi; name=$'bad\xff\xfe.png'
$K print p.poi -o "$name" > /dev/null 2>&1; echo "status $?"
test -s "$name" && echo exact; ls | grep -c '^bad')",
     "status 0\nexact\n1\n"},
    {"FileContentInAMessageIsEscaped",
     R"(printf ' 1 \r\n\033[31mX\000Y\r\n' > e.pha
$K print e.pha -o e.png 2>err; echo "status $?"
LC_ALL=C grep -c $'\033' err; tr -dc '\000' < err | wc -c; grep -c 'x1b\[31mX\\x00Y' err)",
     "status 1\n0\n0\n1\n"},
#endif
};

void PrintTo(const HostileRun& run, std::ostream* os) {
  *os << run.name;
}

class Hostile : public ::testing::TestWithParam<HostileRun> {};

TEST_P(Hostile, Run) {
  const HostileRun& run = GetParam();
#if defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer reserves far more address space than any `ulimit -v` lets a program
  // have, so a program built with it cannot start under one.
  if (std::string_view(run.script).find("ulimit -v") != std::string_view::npos)
    GTEST_SKIP() << "address space limits do not apply to a build with AddressSanitizer";
#endif
  const fs::path dir = fs::temp_directory_path() / ("kv_hostile_" + std::string(run.name));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const char* other = std::getenv("KESTAVOR_CLI");
  const std::string script = std::string("cd '") + dir.string() + "' && K='" +
                             (other ? other : KV_CLI_PATH) + "'\n" + kPrelude + run.script;
  const fs::path file = dir / "run.sh";
  FILE* f = std::fopen(file.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs(script.c_str(), f);
  std::fclose(f);
  FILE* p = popen(("bash '" + file.string() + "' 2>&1").c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string observed;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) observed.append(buf, n);
  pclose(p);
  EXPECT_EQ(observed, run.observed) << run.script;
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Cli, Hostile, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kv
