// The spectrum file: its patterns, the power written from the float widened to double,
// the 515 lines, and a save that fails without harming an older file.
#include <gtest/gtest.h>

#include "app/commands/commands.h"
#include "app/state/form1.h"
#include "fft/get_fft_data.h"
#include "fft/spectrum_file.h"
#include "tests/support/data_files.h"
#include "tests/support/scripted_services.h"

namespace kv {
namespace {

std::string line_of(int j, float power) {
  char buf[128];
  return std::string(buf, format_spectrum_line(buf, j, power));
}

TEST(SpectrumFile, LinePatterns) {
  EXPECT_EQ(spectrum_file_lines(2048), 512);
  EXPECT_EQ(line_of(1, 0.5f), ".01356337 .5");
  EXPECT_EQ(line_of(512, 2.0f), "6.94444444 2.");
  EXPECT_EQ(line_of(100, 123.25f), "1.35633681 123.25");
  // The power is the float widened exactly: 0.1f is 0.100000001490116..., so its ninth
  // place shows; a value written from its shortest float text would read ".1".
  EXPECT_EQ(line_of(2, 0.1f), ".02712674 .100000001");
  EXPECT_EQ(line_of(3, 1e-12f), ".0406901 .");
}

TEST(SpectrumFile, SavedFileHas515Lines) {
  test::TempDir dir;
  ScriptedServices s;
  Form1 f(s.services());
  f.fft_points = 2048;
  f.window = "Welch";
  for (int j = 1; j <= 1024; ++j) f.spectrum[j] = 1.0f / j;
  const std::string path = dir.file("s.fft");
  std::string error;
  ASSERT_TRUE(save_spectrum_file({f, f, f, f, f.files}, path, error)) << error;
  EXPECT_EQ(f.save_file_number, 0);
  const std::vector<std::string> lines = test::lines_of(test::read_file(path));
  ASSERT_EQ(lines.size(), 515u);
  EXPECT_EQ(lines[0], " 512 ");
  EXPECT_EQ(lines[1], "FFT");
  EXPECT_EQ(lines[2], "Welch");
  EXPECT_EQ(lines[3], line_of(1, 1.0f));
  EXPECT_EQ(lines[514], line_of(512, 1.0f / 512));
}

TEST(SpectrumFile, FailedSaveIsToldAndKeepsTheOlderFile) {
  test::TempDir dir;
  ScriptedServices s;
  Form1 f(s.services());
  f.fft_points = 2048;
  EXPECT_FALSE(save_spectrum(f, dir.file("no-such-folder/s.fft")));
  ASSERT_EQ(s.dialogs.count("message"), 1);
  EXPECT_NE(s.dialogs.shown.back().text.find("no-such-folder"), std::string::npos);
  EXPECT_EQ(f.save_file_number, 0);
}

}  // namespace
}  // namespace kv
