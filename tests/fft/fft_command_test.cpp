// The "FFT" command end to end over scripted dialogs: the window list, the segment
// question, the averaged spectrum with its plot and Lyapunov text, the save, and every
// way the command ends early.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "app/commands/commands.h"
#include "app/state/form1.h"
#include "fft/get_fft_data.h"
#include "fft/spectrum_file.h"
#include "tests/support/data_files.h"
#include "tests/support/plot_parts.h"
#include "tests/support/scripted_services.h"

namespace kv {
namespace {

double velocity_of(long record) {
  return std::sin(record * 0.37) * 2 + std::cos(record * 0.011);
}

class FftCommand : public ::testing::Test {
 protected:
  test::TempDir dir;
  ScriptedServices s;
  Form1 f{s.services()};

  SpectrumContext context() { return {f, f, f, f, f.files}; }
  // Runs "FFT", then picks window `index` in the list.
  void run(int index) {
    Text15_Click(f);
    f.ui.set_value(Ctl::List1, index);
    List1_Click(f);
  }
  std::string orbit(long header, long records, const std::string& name = "o.pha") {
    return dir.write(name, test::orbit_text(header, records, velocity_of));
  }
  bool spectrum_is_zero() const {
    for (int j = 1; j <= 1024; ++j)
      if (f.spectrum[j] != 0.0f) return false;
    return true;
  }
  // The state every ending leaves: list put away, buttons restored, no file open.
  void expect_restored() {
    EXPECT_FALSE(f.ui[Ctl::List1].visible);
    EXPECT_FALSE(f.ui[Ctl::Label6].visible);
    EXPECT_EQ(f.ui[Ctl::Text15].back_color, kGrey);
    EXPECT_FALSE(f.ui[Ctl::Text18].enabled);
    EXPECT_EQ(f.ui[Ctl::Text18].back_color, kGrey);
    EXPECT_EQ(f.save_file_number, 0);
    EXPECT_TRUE(f.FFT_flag);
  }
};

TEST_F(FftCommand, ButtonShowsTheWindowList) {
  f.cnt = 12;
  f.poincare_cnt = 5;
  f.ui.set_visible(Ctl::Label2, true);
  f.ui.set_visible(Ctl::Text3, true);
  Text15_Click(f);
  EXPECT_TRUE(f.ui[Ctl::List1].visible);
  EXPECT_TRUE(f.ui[Ctl::Label6].visible);
  EXPECT_EQ(f.ui[Ctl::Label6].text, "Select an FFT window");
  EXPECT_FALSE(f.ui[Ctl::Label2].visible);
  EXPECT_FALSE(f.ui[Ctl::Text3].visible);
  EXPECT_EQ(f.ui[Ctl::Text15].back_color, kWhite);
  EXPECT_EQ(f.cnt, 0);
  EXPECT_EQ(f.poincare_cnt, 0);
  EXPECT_EQ(s.dialogs.shown.size(), 0u) << "nothing is asked before a window is picked";
}

TEST_F(FftCommand, AveragesDrawsEstimatesAndSaves) {
  const std::string in = orbit(73728, 36882 + 100);
  const std::string out = dir.file("spectrum.fft");
  s.dialogs.open_answers = {in};
  s.dialogs.input_answers = {"1"};
  s.dialogs.yes_no_answers = {true};
  s.dialogs.save_answers = {out};
  run(1);

  ASSERT_EQ(s.dialogs.shown.size(), 4u);
  EXPECT_EQ(s.dialogs.shown[0].kind, "open");
  EXPECT_EQ(s.dialogs.shown[0].text, "*.pha|*.pha");
  EXPECT_EQ(s.dialogs.shown[1].text, "Maximum number that can be averaged|1");
  EXPECT_EQ(s.dialogs.shown[1].title, "Fast Fourier transform");
  EXPECT_EQ(s.dialogs.shown[2].text, "Save the spectrum?");
  EXPECT_EQ(s.dialogs.shown[2].title, "FFT");
  EXPECT_EQ(s.dialogs.shown[3].text, "(*.fft)|*.fft");

  EXPECT_EQ(f.window, "Hanning");
  EXPECT_EQ(f.number_of_points, 73728);
  EXPECT_EQ(f.fft_points, 2048);
  EXPECT_GT(f.spectrum[1], 0.0f);
  EXPECT_EQ(f.cnt, 465);
  EXPECT_TRUE(f.ui[Ctl::Picture1].visible);
  EXPECT_EQ(f.ui[Ctl::Label3].text, "Fourier Spectrum");
  EXPECT_TRUE(f.ui[Ctl::Text67].visible);
  EXPECT_EQ(f.ui[Ctl::Text67].text.rfind("Lyapunov exponent=", 0), 0u);
  EXPECT_FALSE(f.ui[Ctl::Text68].visible);
  EXPECT_EQ(f.save_file_name, out);
  expect_restored();
  // The status says what was made; no "Segment 1 of 1" is left.
  EXPECT_EQ(f.ui[Ctl::Text58].text, "Saved spectrum spectrum.fft");
  EXPECT_EQ(f.ui[Ctl::Text58].fore_color, kGreen);

  const std::string text = test::read_file(out);
  char line[128];
  const std::string first(line, format_spectrum_line(line, 1, f.spectrum[1]));
  const std::string head = " 512 \r\nFFT\r\nHanning\r\n" + first + "\r\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
}

TEST_F(FftCommand, AnswersThatEndTheCommand) {
  // "abc" reads as 0, "0.4" rounds to 0 and "-2" is below 1: each ends the command
  // silently, with the spectrum cleared and nothing drawn.
  const std::string in = orbit(73728, 36882);
  for (const char* answer : {"", "abc", "0", "0.4", "-2"}) {
    s.dialogs.shown.clear();
    s.dialogs.open_answers = {in};
    s.dialogs.input_answers = {answer};
    f.spectrum[5] = 1.0f;
    f.ui.set_visible(Ctl::Picture1, false);
    run(0);
    EXPECT_EQ(s.dialogs.shown.size(), 2u) << "answer \"" << answer << "\"";
    EXPECT_TRUE(spectrum_is_zero());
    EXPECT_FALSE(f.ui[Ctl::Picture1].visible);
    expect_restored();
  }
}

TEST_F(FftCommand, LeadingNumberOfTheAnswerIsTheSegmentCount) {
  // "3abc" asks for 3 segments; the file holds 3, so the command runs to the save question.
  s.dialogs.open_answers = {orbit(3 * 36882, 3 * 36882)};
  s.dialogs.input_answers = {"3abc"};
  run(2);
  EXPECT_EQ(s.dialogs.count("yesno"), 1);
  EXPECT_EQ(s.dialogs.count("message"), 0);
  EXPECT_EQ(s.dialogs.count("save"), 0) << "No to saving ends the command";
  EXPECT_EQ(f.window, "Welch");
  expect_restored();
}

// A file too short for one segment is refused before the question, and more segments than
// the file offers at the question: one message, told in the status text too, nothing
// averaged.
TEST_F(FftCommand, WhatTheFileCannotGiveIsRefusedBeforeAnythingIsRead) {
  struct Case {
    long header;
    const char* answer;
    std::size_t dialogs;  // the open dialog, the question (or not) and the message
    const char* says;
  };
  for (const Case& c : {Case{36881, nullptr, 2, "36882 records, and its header counts 36881"},
                        Case{73763, "2", 3,
                             "offers 1 whole segment of 36882 records, fewer "
                             "than the 2 asked for"}}) {
    s.dialogs.shown.clear();
    s.dialogs.open_answers = {orbit(c.header, 2 * 36882)};
    if (c.answer) s.dialogs.input_answers = {c.answer};
    run(3);
    ASSERT_EQ(s.dialogs.shown.size(), c.dialogs);
    EXPECT_EQ(s.dialogs.count("input"), c.answer ? 1 : 0);
    EXPECT_NE(s.dialogs.shown.back().text.find(c.says), std::string::npos)
        << s.dialogs.shown.back().text;
    EXPECT_EQ(f.ui[Ctl::Text58].text, s.dialogs.shown.back().text);
    EXPECT_EQ(f.ui[Ctl::Text58].fore_color, kRed);
    EXPECT_TRUE(spectrum_is_zero());
    expect_restored();
  }
}

// A file that cannot give the spectrum asked for: one message naming the file and the
// line, or what it holds against what was asked; nothing averaged, drawn or estimated, no
// save offered, and the panel restored.
struct Ending {
  const char* name;
  std::function<std::string(test::TempDir&)> file;  // the orbit file chosen
  const char* segments;                             // the answer to the segment question
  bool asked;                                       // whether that question comes
  std::vector<const char*> told;                    // texts the message holds
};

void PrintTo(const Ending& e, std::ostream* os) {
  *os << e.name;
}

// An orbit file of 36882 records whose field `column` (0-based) of record `record` is `text`.
std::string spoilt(long record, int column, const std::string& text) {
  std::string t = test::orbit_text(73728, 36882, velocity_of);
  std::size_t at = 0;
  for (long line = 0; line < record + 1; ++line) at = t.find('\n', at) + 1;
  for (int c = 0; c < column; ++c) at = t.find(' ', at) + 1;
  return t.replace(at, t.find_first_of(" \r", at) - at, text);
}

const Ending kEndings[] = {
    {"FileEndsBeforeTheSegmentsAskedFor",
     [](test::TempDir& d) {
       return d.write("o.pha", test::orbit_text(110592, 36882 + 30000, velocity_of));
     },
     "2",
     true,
     {"holds 1 whole segment of 36882 records", "fewer than the 2 asked for"}},
    {"FieldThatIsNotANumber",
     [](test::TempDir& d) { return d.write("bad.pha", spoilt(300, 0, "?6")); },
     "1",
     true,
     {"line 302: \"?6\" is not a number", "bad.pha"}},
    {"VelocityBeyondAnyNumber",
     [](test::TempDir& d) { return d.write("huge.pha", spoilt(36, 2, "1e309")); },
     "1",
     true,
     {"line 38: \"1e309\" is out of range", "huge.pha"}},
    {"MissingFile",
     [](test::TempDir& d) { return d.file("missing.pha"); },
     "1",
     false,
     {"missing.pha"}},
    {"HeaderThatIsNotANumber",
     [](test::TempDir& d) { return d.write("junk.pha", "PHASE\r\n 100 \r\n"); },
     "1",
     false,
     {"line 1: \"PHASE\" is not a number"}},
};

class FftEnding : public FftCommand, public ::testing::WithParamInterface<Ending> {};

TEST_P(FftEnding, IsToldAndNothingIsAveraged) {
  s.dialogs.open_answers = {GetParam().file(dir)};
  s.dialogs.input_answers = {GetParam().segments};
  run(1);
  ASSERT_EQ(s.dialogs.count("message"), 1);
  EXPECT_EQ(s.dialogs.count("input"), GetParam().asked ? 1 : 0);
  for (const char* text : GetParam().told)
    EXPECT_NE(s.dialogs.shown.back().text.find(text), std::string::npos)
        << s.dialogs.shown.back().text;
  EXPECT_EQ(s.dialogs.count("yesno"), 0);
  EXPECT_TRUE(spectrum_is_zero());
  EXPECT_FALSE(f.ui[Ctl::Picture1].visible);
  EXPECT_FALSE(f.ui[Ctl::Text67].visible);
  expect_restored();
}

INSTANTIATE_TEST_SUITE_P(Files, FftEnding, ::testing::ValuesIn(kEndings),
                         [](const ::testing::TestParamInfo<Ending>& i) {
                           return std::string(i.param.name);
                         });

TEST_F(FftCommand, CancelledDialogs) {
  run(0);  // open dialog cancelled
  EXPECT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_TRUE(spectrum_is_zero());
  expect_restored();

  // Save question answered Yes, save dialog cancelled: nothing written, the path is empty.
  s.dialogs.shown.clear();
  s.dialogs.open_answers = {orbit(73728, 36882)};
  s.dialogs.input_answers = {"1"};
  s.dialogs.yes_no_answers = {true};
  run(0);
  EXPECT_EQ(s.dialogs.count("save"), 1);
  EXPECT_EQ(f.save_file_name, "");
  EXPECT_TRUE(f.ui[Ctl::Picture1].visible) << "the spectrum stays on screen";
  expect_restored();
}

TEST_F(FftCommand, HaltDuringTheEstimateLeavesTheSpectrumAndDropsTheExponent) {
  s.pointer.pos = {300, 720};
  s.pointer.on_query = [](ScriptedPointer& p, long n) {
    if (n == 1000) p.press();
  };
  f.lyapunov_exponent = 9;
  s.dialogs.open_answers = {orbit(73728, 36882)};
  s.dialogs.input_answers = {"1"};
  run(0);
  EXPECT_EQ(f.lyapunov_exponent, 0);
  EXPECT_FALSE(f.ui[Ctl::Text67].visible);
  EXPECT_TRUE(f.ui[Ctl::Picture1].visible);
  EXPECT_EQ(s.dialogs.count("yesno"), 1) << "the save is still offered";
  expect_restored();
}

TEST_F(FftCommand, SpectrumThatOverflowsIsNotSaved) {
  // Velocities that fit a float but whose powers do not: the plot shows what it can, the
  // save stops with a message and an earlier file is kept.
  s.dialogs.open_answers = {dir.write(
      "big.pha", test::orbit_text(73728, 36882, [](long r) { return r % 2 ? 3e37 : -3e37; }))};
  const std::string out = dir.write("s.fft", "earlier\r\n");
  s.dialogs.input_answers = {"1"};
  s.dialogs.yes_no_answers = {true};
  s.dialogs.save_answers = {out};
  run(0);
  ASSERT_EQ(s.dialogs.count("message"), 1);
  const std::string& msg = s.dialogs.shown.back().text;
  EXPECT_NE(msg.find("not a finite number"), std::string::npos) << msg;
  EXPECT_EQ(test::read_file(out), "earlier\r\n");
  expect_restored();
}

// The engine called with a request asks nothing and reports each segment; the number
// offered is taken when the request asks for 0 segments. (Its file is the window's:
// tests/faces.)
TEST_F(FftCommand, RequestTakesTheOfferAndReportsEachSegment) {
  const std::string in = orbit(2 * 36882 + 10, 2 * 36882 + 10);
  ScriptedServices s2;
  Form1 g{s2.services()};
  SpectrumRequest request{in, 2, 0, dir.file("request.fft")};
  ScriptedRunControl counting;
  const SpectrumResult result = spectrum_command(g, request, counting);
  EXPECT_TRUE(result.saved);
  // Segment 1 of 2, segment 2 of 2; the estimate that follows reports nothing of its own.
  const std::vector<std::pair<std::int64_t, std::int64_t>> segments{{1, 2}, {2, 2}};
  EXPECT_EQ(counting.progress_reports, segments);
  EXPECT_TRUE(result.reason.empty());
  EXPECT_EQ(s2.dialogs.shown.size(), 0u) << "the engine asks nothing";
  EXPECT_EQ(g.window, "Welch");
  EXPECT_EQ(result.segments, 2);
  EXPECT_FALSE(g.ui[Ctl::Text18].enabled);
}

TEST_F(FftCommand, RequestEndingsComeBackWithTheirReasons) {
  RunToEnd to_end;
  SpectrumRequest request{orbit(73728, 36882 + 10), 0, 3, dir.file("s.fft")};
  SpectrumResult result = spectrum_command(f, request, to_end);
  EXPECT_EQ(result.status, Status::refused);
  EXPECT_NE(result.reason.find("fewer than the 3 asked for"), std::string::npos) << result.reason;
  EXPECT_EQ(result.reason, s.dialogs.shown.back().text);
  EXPECT_FALSE(std::filesystem::exists(request.output));

  request.orbit_path = orbit(500, 500, "short.pha");
  request.segments = 0;
  result = spectrum_command(f, request, to_end);
  EXPECT_EQ(result.status, Status::refused);
  EXPECT_NE(result.reason.find("header counts 500"), std::string::npos) << result.reason;

  request.orbit_path = orbit(73728, 36882 + 10, "one.pha");
  request.segments = 1;
  request.output = dir.file("no-folder/s.fft");
  result = spectrum_command(f, request, to_end);
  EXPECT_EQ(result.status, Status::failed);
  EXPECT_TRUE(result.drawn);
  EXPECT_NE(result.reason.find("no-folder"), std::string::npos) << result.reason;
  EXPECT_FALSE(f.ui[Ctl::Text18].enabled);
  EXPECT_EQ(f.ui[Ctl::Text18].back_color, kGrey);
}

}  // namespace

// The engine with a request on the state groups alone, without a window (what it writes
// and draws is the window's: tests/faces): it shows the spectrum's parts through the view,
// and the estimate after the plot tells the request's watch.
TEST_F(FftCommand, RequestRunsOnTheStateGroupsAlone) {
  const std::string in = orbit(2 * 36882 + 10, 2 * 36882 + 10);
  PlotState plots;
  SpectrumState spectrum;
  ChaosState chaos;
  SaveState save;
  FileTable files;
  test::RecordingPlotView view;
  plots.view = &view;
  int started = 0, steps = 0;
  SpectrumRequest request{in, 1, 2, dir.file("alone.fft")};
  request.lyapunov.started = [&] {
    ++started;
    EXPECT_EQ(plots.cnt, 465) << "the spectrum is drawn before the estimate";
  };
  request.lyapunov.step_done = [&](const LyapunovStep&) { ++steps; };
  RunToEnd to_end;
  const SpectrumResult result =
      run_spectrum({plots, spectrum, chaos, save, files}, request, to_end);
  ASSERT_TRUE(result.saved) << result.reason;
  EXPECT_EQ(result.segments, 2);
  EXPECT_EQ(spectrum.window, "Hanning");
  EXPECT_EQ(spectrum.FFT_flag, kTrue);
  EXPECT_EQ(plots.number_of_points, 2 * 36882 + 10);
  EXPECT_EQ(save.save_file_name, request.output);
  EXPECT_EQ(save.save_file_number, 0);

  EXPECT_EQ(result.lyapunov.status, Status::done);
  EXPECT_EQ(result.lyapunov.exponent, chaos.lyapunov_exponent);
  EXPECT_EQ(started, 1);
  EXPECT_EQ(steps, result.lyapunov.steps);

  for (PlotPart part :
       {PlotPart::phase_plot, PlotPart::spectrum_frequency_scale, PlotPart::spectrum_power_scale,
        PlotPart::spectrum_power_title, PlotPart::phase_title})
    EXPECT_TRUE(view.visible(part)) << static_cast<int>(part);
  for (PlotPart part : {PlotPart::phase_velocity_title, PlotPart::phase_velocity_scale,
                        PlotPart::phase_angle_scale})
    EXPECT_TRUE(view.hidden(part)) << static_cast<int>(part);
  EXPECT_EQ(view.titles[PlotPart::phase_title], "Fourier Spectrum");
  EXPECT_EQ(view.repaints, 1);
}

// The stages as the window calls them: the source offers what the header counts, and a
// file too short comes back with its reason and nothing told.
TEST_F(FftCommand, StagesReportWithoutTellingAnyone) {
  const SpectrumContext c = context();
  begin_spectrum(c, 3);
  EXPECT_EQ(f.window, "Square");
  EXPECT_EQ(f.fft_points, 2048);
  SpectrumSource source = open_spectrum_source(c, orbit(110592, 10));
  ASSERT_EQ(source.status, Status::done) << source.reason;
  EXPECT_EQ(source.offered, 2);
  EXPECT_EQ(f.number_of_points, 110592);
  SpectrumRequest request{source.path, 3, 1, ""};
  RunToEnd to_end;
  const SpectrumResult short_file = average_spectrum(c, source, request, to_end);
  EXPECT_EQ(short_file.status, Status::refused);
  EXPECT_NE(short_file.reason.find("holds 0 whole segments"), std::string::npos)
      << short_file.reason;
}

TEST_F(FftCommand, SegmentsAskedForAreAveragedWhenTheRecordsAreThereWhateverTheHeaderSays) {
  // The header counts 100 points (an offer of 0), the file holds two whole segments.
  RunToEnd to_end;
  SpectrumRequest request{orbit(100, 2 * 36882, "low-header.pha"), 0, 2, dir.file("two.fft")};
  SpectrumResult result = run_spectrum(context(), request, to_end);
  EXPECT_TRUE(result.saved) << result.reason;
  EXPECT_TRUE(std::filesystem::exists(request.output));
  // Too many asked for: the message names the number asked for, not a cap.
  request.segments = 99999999999;
  request.output = dir.file("many.fft");
  result = run_spectrum(context(), request, to_end);
  EXPECT_EQ(result.status, Status::refused);
  EXPECT_NE(result.reason.find("holds 2 whole segments"), std::string::npos) << result.reason;
  EXPECT_NE(result.reason.find("fewer than the 99999999999 asked for"), std::string::npos)
      << result.reason;
}

}  // namespace kv
