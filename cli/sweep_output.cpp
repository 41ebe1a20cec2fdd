#include "cli/sweep_output.h"

#include <iostream>

#include "cli/progress_line.h"
#include "sweep/sweep_file.h"

namespace kv::cli {

std::string check_sweep_output(const SweepOptions& o) {
  if (std::string e = check_sweep(o.request); !e.empty()) return "sweep refused: " + e;
  return {};
}

int write_sweep(const std::string& program, const SweepOptions& o, const SweepRunner& engine,
                const std::string& version, const std::function<void()>& done,
                const SweepPictureWriter& picture) {
  SweepCsv csv;
  if (!csv.open(o.out, o.request, version, repeat_command(o.request))) {
    if (done) done();
    std::cerr << program << ": " << csv.error() << "\n";
    return 1;
  }
  const SweepOutcome out = engine(o.request, [&csv](const SweepCell& c) { return csv.write(c); });
  if (done) done();
  if (out.halted()) {
    csv.discard();
    std::cerr << program << ": interrupted: the sweep was stopped and nothing was saved\n";
    return kSweepHalted;
  }
  if (!out.done()) {
    const std::string why = csv.error().empty() ? out.reason : csv.error();
    csv.discard();
    std::cerr << program << ": " << why << " " << o.out << " was not written.\n";
    return 1;
  }
  if (!csv.keep(out)) {
    std::cerr << program << ": " << csv.error() << "\n";
    return 1;
  }
  // Standard output stays empty: the summary goes to standard error beside a progress line
  // (a terminal, no --quiet), and always when cells gave no points.
  const bool tell = !o.quiet && stderr_is_terminal();
  if (tell || out.unstable || out.refused) {
    std::cerr << o.out << ": " << out.cells << " cells";
    if (out.unstable) std::cerr << ", " << out.unstable << " blew up (no points)";
    if (out.refused) std::cerr << ", " << out.refused << " refused by the simulation";
    std::cerr << "\n";
  }
  if (!o.png.empty()) {
    std::string error;
    if (!picture || !picture(o, error)) {
      std::cerr << program << ": the picture was not written: "
                << (picture ? error : "this program draws no pictures") << " (" << o.out
                << " is complete.)\n";
      return 1;
    }
    if (tell) std::cerr << o.png << ": picture of " << o.out << "\n";
  }
  return 0;
}

}  // namespace kv::cli
