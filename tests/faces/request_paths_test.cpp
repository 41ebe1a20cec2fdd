// Every command on each of its paths: the window's handler with its questions answered, the
// engine given a request and no window, and kestavor-cli with the same values. The paths
// give the same bytes (the files), the same text (the estimates) and the same pixels (the
// plots they draw), and the request path asks nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "acquisition/recording.h"
#include "acquisition/replay_box.h"
#include "app/commands/commands.h"
#include "app/commands/lyapunov_display.h"
#include "app/commands/recording.h"
#include "app/commands/startup.h"
#include "app/commands/window_run_control.h"
#include "chaos/dimension.h"
#include "chaos/lyapunov.h"
#include "fft/get_fft_data.h"
#include "fft/plot_file.h"
#include "platform/clock.h"
#include "tests/acquisition/scripted_box.h"
#include "tests/simulation/sim_support.h"
#include "tests/support/data_files.h"

namespace kv {
namespace {

using Dir = test::TempDir;

// A path of a command: what it gives back from the inputs in the folder.
using Path = std::function<std::string(const Dir&)>;

struct Command {
  const char* name;
  Path window, request;
  const char* cli;  // kestavor-cli's arguments ("@" is the folder), or null: no such command
  bool cli_prints;  // kestavor-cli prints the result instead of writing @cli.out
};

void PrintTo(const Command& c, std::ostream* os) {
  *os << c.name;
}

// The phase plot's print table, row by row.
std::string rows(const PlotState& p) {
  std::string t;
  for (int i = 1; i <= p.cnt; ++i)
    t += std::to_string(p.orbit_points.at(i, 1)) + "," + std::to_string(p.orbit_points.at(i, 2)) +
         ";";
  return t;
}

std::string pixels(const Surface& s) {
  const auto n = static_cast<std::size_t>(s.pixel_width()) * s.pixel_height();
  return std::to_string(s.pixel_width()) + "x" + std::to_string(s.pixel_height()) +
         std::string(reinterpret_cast<const char*>(s.pixels()), n * sizeof *s.pixels());
}

// The inputs every path reads.
void write_inputs(const Dir& dir) {
  test::Motion m;
  m.rate = 7;
  m.marker = [](long n) { return n % 37 < 3; };
  dir.write("session.raw", m.raw(2000));
  const auto velocity = [](long r) { return std::sin(r * 0.37) * 2 + std::cos(r * 0.011); };
  dir.write("o.pha", test::orbit_text(2 * 36882 + 10, 2 * 36882 + 10, velocity));
  dir.write("l.pha", test::orbit_text(12000, 12000, [](long r) {
              return std::sin(r * 0.0123) * 3 + std::sin(r * 0.031);
            }));
  std::vector<std::pair<double, double>> row;
  for (int k = 0; k < 5000; ++k)
    row.push_back({-3.14159265 + 2 * 3.14159265 * (k + 0.5) / 5000, 10});
  dir.write("row.poi", test::poincare_file(row));
  std::vector<test::OrbitRecord> turning;
  for (int i = 1; i <= 400; ++i)
    turning.push_back({i * 0.002, std::sin(i * 0.05) * 3, std::cos(i * 0.05) * 5, i / 150});
  dir.write("turning.pha", test::orbit_file(turning));
}

Command recording(bool orbit, const char* count, const char* cli) {
  const auto kind = orbit ? RecordingKind::Orbit : RecordingKind::Poincare;
  return {orbit ? "SaveOrbit" : "SavePoincare",
          [=](const Dir& dir) {
            ScriptedServices s;
            auto f = std::make_unique<Form1>(s.services());
            Form_Load(*f, std::make_unique<ReplayBox>(test::read_file(dir.file("session.raw")),
                                                      "session"));
            s.dialogs.input_answers = {count};
            s.dialogs.save_answers = {dir.file("window.out")};
            orbit ? save_orbit(*f) : save_poincare(*f);
            return test::read_file(dir.file("window.out"));
          },
          [=](const Dir& dir) {
            ComputerClock clock;
            RunToEnd run;
            record_from_box(
                std::make_unique<ReplayBox>(test::read_file(dir.file("session.raw")), "session"),
                {kind, std::stoi(count), dir.file("request.out")}, clock, run);
            return test::read_file(dir.file("request.out"));
          },
          cli, false};
}

Command simulation(bool orbit, const char* count, const char* cli) {
  return {orbit ? "SimulateOrbit" : "SimulatePoincare",
          [=](const Dir& dir) {
            test::SimForm t;
            t.computer_time();
            t.f.ui.set_text(Ctl::Text22, "0.0006");
            t.f.ui.set_text(Ctl::Text19, "0.3");
            t.f.ui.set_text(Ctl::Text69, "1");
            t.save(orbit ? Ctl::Check3 : Ctl::Check4, count, dir.file("window.out"));
            return test::read_file(dir.file("window.out"));
          },
          [=](const Dir& dir) {
            test::SimForm d;
            d.computer_time();
            SimRequest r;
            r.panel = panel_texts(d.f);
            r.panel.drive_amplitude = "0.0006";  // given in the request: the panel keeps its own
            r.panel.drive_phase = "0.3";
            r.panel.time_out = "1";
            r.options = sim_options(d.f);
            r.options.phase_file = orbit;
            r.options.poincare_file = !orbit;
            r.points = std::stoi(count);
            r.path = dir.file("request.out");
            RunToEnd run;
            EXPECT_EQ(simulate(d.sim.context, r, run).status, Status::done);
            EXPECT_EQ(d.f.ui[Ctl::Text22].text, "0.0005306");
            return test::read_file(r.path);
          },
          cli, false};
}

const Command kCommands[] = {
    recording(true, "500", "decode @session.raw --orbit 500 -o @cli.out"),
    recording(true, "100000", "decode @session.raw --orbit 100000 -o @cli.out"),  // runs out
    recording(false, "20", "decode @session.raw --poincare 20 -o @cli.out"),
    simulation(true, "3000",
               "simulate --orbit 3000 --drive-amplitude 0.0006 --drive-phase 0.3 --time-out 1 "
               "-o @cli.out"),
    simulation(false, "20",
               "simulate --poincare 20 --drive-amplitude 0.0006 --drive-phase=0.3 --time-out=1 "
               "-o @cli.out"),
    {"Spectrum",
     [](const Dir& dir) {
       ScriptedServices s;
       Form1 f{s.services()};
       s.dialogs.open_answers = {dir.file("o.pha")};
       s.dialogs.input_answers = {"2"};
       s.dialogs.yes_no_answers = {true};
       s.dialogs.save_answers = {dir.file("window.out")};
       Text15_Click(f);
       f.ui.set_value(Ctl::List1, 2);
       List1_Click(f);
       return test::read_file(dir.file("window.out")) + "|" + pixels(f.Picture1) +
              std::to_string(f.lyapunov_exponent);
     },
     [](const Dir& dir) {
       PlotState plots;
       SpectrumState spectrum;
       ChaosState chaos;
       SaveState save;
       FileTable files;
       RunToEnd run;
       const SpectrumRequest request{dir.file("o.pha"), 2, 2, dir.file("request.out")};
       run_spectrum({plots, spectrum, chaos, save, files}, request, run);
       return test::read_file(request.output) + "|" + pixels(plots.Picture1) +
              std::to_string(chaos.lyapunov_exponent);
     },
     "spectrum @o.pha --window Welch --segments 2 -o @cli.out --quiet", false},
    {"Lyapunov",
     [](const Dir& dir) {
       ScriptedServices s;
       Form1 f{s.services()};
       WindowRunControl run(f);
       lyapunov_command(f, dir.file("l.pha"), run);
       return f.ui[Ctl::Text67].text;
     },
     [](const Dir& dir) {
       ChaosState chaos;
       RunToEnd run;
       return lyapunov(chaos, LyapunovRequest{dir.file("l.pha"), {}}, run).text;
     },
     "lyapunov @l.pha --quiet", true},
    {"Dimension",
     [](const Dir& dir) {
       ScriptedServices s;
       Form1 f{s.services()};
       s.dialogs.open_answers = {dir.file("row.poi")};
       dimension_command(f);
       return f.ui[Ctl::Text67].text + "|" + pixels(f.Picture2);
     },
     [](const Dir& dir) {
       PlotState plots;
       RunToEnd run;
       const std::string text = capacity_dimension_of_file(plots, {dir.file("row.poi")}, run).text;
       return text + "|" + pixels(plots.Picture2);
     },
     "dimension @row.poi", true},
    {"PlotFile",
     [](const Dir& dir) {
       ScriptedServices s;
       Form1 f{s.services()};
       f.ui.set_value(Ctl::HScroll1, 1);
       s.dialogs.open_answers = {dir.file("turning.pha")};
       plot_file_command(f);
       return pixels(f.Picture1) + rows(f);
     },
     [](const Dir& dir) {
       PlotState plots;
       SpectrumState spectrum;
       ChaosState chaos;
       SaveState save;
       RunToEnd run;
       plot_file({plots, spectrum, chaos, save}, {dir.file("turning.pha"), 1}, run);
       return pixels(plots.Picture1) + rows(plots);
     },
     nullptr, false},
};

class RequestPath : public ::testing::TestWithParam<Command> {};

TEST_P(RequestPath, GivesWhatTheWindowGives) {
  const Command& c = GetParam();
  Dir dir;
  write_inputs(dir);
  const std::string by_window = c.window(dir);
  ASSERT_GT(by_window.size(), 20u) << "the window's path gave nothing to compare";
  EXPECT_EQ(c.request(dir), by_window);
#if defined(KV_CLI_PATH) && !defined(_WIN32)
  if (!c.cli) return;
  std::string args = c.cli;
  for (std::size_t at; (at = args.find('@')) != std::string::npos;)
    args.replace(at, 1, dir.file(""));
  const test::CliRun run = test::run_cli(args);
  EXPECT_EQ(run.status, 0) << run.err;
  // The command line writes the window's file, or prints its text with its lines ended by
  // LF; the pixels after a '|' are the window's alone.
  std::string text = by_window.substr(0, by_window.find('|'));
  if (!c.cli_prints) {
    EXPECT_EQ(test::read_file(dir.file("cli.out")), text);
    return;
  }
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
  EXPECT_EQ(run.out, text + "\n");
#endif
}

INSTANTIATE_TEST_SUITE_P(Commands, RequestPath, ::testing::ValuesIn(kCommands),
                         [](const ::testing::TestParamInfo<Command>& info) {
                           return std::string(info.param.name) + std::to_string(info.index);
                         });

}  // namespace
}  // namespace kv
