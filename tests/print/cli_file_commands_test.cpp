// kestavor-cli dimension and print: the JSON object (the status text is the window's:
// tests/faces), and real PDF and PNG pages (their texts read back with pdftotext when
// poppler-utils is installed) written through a temporary file. Their refusals are in tests/cli.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tests/support/data_files.h"

namespace kv {
namespace {

using test::run_cli;

std::string row_file(const test::TempDir& dir) {
  std::string t = format_print_integer(5000) + "\r\nPOINCARE\r\n";
  char line[160];
  for (int k = 0; k < 5000; ++k) {
    t.append(line, format_poincare_line(line, -3.14159265 + 2 * 3.14159265 * (k + 0.5) / 5000, 10));
    t += "\r\n";
  }
  return dir.write("row.poi", t);
}

TEST(CliDimension, PrintsOneJsonObject) {
  test::TempDir dir;
  const std::string poi = row_file(dir);
  const test::CliRun r = run_cli("dimension " + poi + " --json");
  ASSERT_EQ(r.status, 0);
  const std::string& json = r.out;
  EXPECT_NE(json.find("\"points\": 5000"), std::string::npos) << json;
  EXPECT_NE(json.find("\"box_totals\": [1, 3, 7, 15, 31, 63, 127, 255, 511]"), std::string::npos)
      << json;
  const std::size_t at = json.find("\"capacity_dimension\": ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_NEAR(std::stod(json.substr(at + 22)), 1.09148, 5e-6);
  // A single point has no dimension: null, and the status says why (see CliRefusal).
  const std::string one = dir.write("one.poi", test::poincare_file({{0.0, 0.0}}));
  EXPECT_NE(run_cli("dimension " + one + " --json").out.find("\"capacity_dimension\": null"),
            std::string::npos);
}

#ifdef KV_CLI_PRINTS
TEST(CliPrint, WritesAPdfWhoseTextsAreThePages) {
  test::TempDir dir;
  const std::string poi = row_file(dir), pdf = dir.file("page.pdf");
  const test::CliRun r = run_cli("print " + poi + " -o " + pdf);
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(test::read_file(pdf).substr(0, 5), "%PDF-");
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"page.pdf", "row.poi"}))
      << "a temporary file was left";
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  const std::string txt = dir.file("page.txt");
  ASSERT_EQ(std::system(("pdftotext -enc UTF-8 " + pdf + " " + txt).c_str()), 0);
  const std::string text = test::read_file(txt);
  for (const char* want : {"Kestavor Chaotic Pendulum", "number of phase plot points=0",
                           "number of Poincare plot points=5000", "VELOCITY", "(rad/s)",
                           "PHASE (radian)", "\xE2\x88\x92\xCF\x80", "40", "-40"})
    EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
}

TEST(CliPrint, WritesASpectrumPageAsAPngAt150Dpi) {
  test::TempDir dir;
  const std::string fft =
      dir.write("s.fft", test::spectrum_file(512, [](int j) { return 100.0 / j; }));
  const std::string png = dir.file("page.png");
  // Without XDG_RUNTIME_DIR Qt warns; its notes are not the command's to tell.
  unsetenv("XDG_RUNTIME_DIR");
  const test::CliRun r = run_cli("print " + fft + " -o " + png);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string bytes = test::read_file(png);
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  auto be32 = [&](std::size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 24) |
           (static_cast<unsigned char>(bytes[at + 1]) << 16) |
           (static_cast<unsigned char>(bytes[at + 2]) << 8) |
           static_cast<unsigned char>(bytes[at + 3]);
  };
  EXPECT_EQ(be32(16), 1240);  // A4 portrait at 150 dpi
  EXPECT_EQ(be32(20), 1754);
  EXPECT_EQ(r.out, "");  // a success prints only its result: here, the page
}

// --revolutions N is the range the window shows as N revolutions: 3 is --range 2, and 1 is
// another page of an orbit that spans several revolutions.
TEST(CliPrint, RevolutionsChooseTheRangeAsTheWindowNamesIt) {
  test::TempDir dir;
  std::vector<test::OrbitRecord> orbit;
  for (int i = 1; i <= 200; ++i) orbit.push_back({i * 0.002, i * 0.05, std::sin(i * 0.1), 0});
  const std::string pha = dir.write("o.pha", test::orbit_file(orbit));
  std::vector<std::string> pages;
  for (const char* range : {"--range 2", "--revolutions 3", "--revolutions 1"}) {
    const std::string png = dir.file("p" + std::to_string(pages.size()) + ".png");
    const test::CliRun r = run_cli("print " + pha + " " + range + " -o " + png);
    ASSERT_EQ(r.status, 0) << range << ": " << r.err;
    pages.push_back(test::read_file(png));
  }
  EXPECT_EQ(pages[1], pages[0]);
  EXPECT_NE(pages[2], pages[0]);
}
#endif

}  // namespace
}  // namespace kv
