// kestavor-cli dimension and print: the status text and the JSON object, the exit status
// of every ending, and real PDF and PNG pages (their texts read back with pdftotext when
// poppler-utils is installed) written through a temporary file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "print_support.h"

namespace kv {
namespace {

std::string err_path() {
  const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  return (std::filesystem::temp_directory_path() / ("kestavor_cli9_" + test + ".err")).string();
}

std::string read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Runs kestavor-cli with `args`; standard output goes to `out_file`.
int run_cli(const std::string& args, const std::string& out_file) {
  const std::string cmd =
      std::string(KV_CLI_PATH) + " " + args + " >" + out_file + " 2>" + err_path();
  return WEXITSTATUS(std::system(cmd.c_str()));
}

std::string row_file(const test::TempDir& dir) {
  std::string t = format_print_integer(5000) + "\r\nPOINCARE\r\n";
  char line[160];
  for (int k = 0; k < 5000; ++k) {
    t.append(line, format_poincare_line(line, -3.14159265 + 2 * 3.14159265 * (k + 0.5) / 5000, 10));
    t += "\r\n";
  }
  return dir.write("row.poi", t);
}

TEST(CliDimension, PrintsTheStatusTextOrOneJsonObject) {
  test::TempDir dir;
  const std::string poi = row_file(dir), out = dir.file("out.txt");
  ASSERT_EQ(run_cli("dimension " + poi, out), 0) << read(err_path());
  EXPECT_EQ(read(out), "Capacity dimension=1.0915\nNumber of points=5000\n");
  ASSERT_EQ(run_cli("dimension " + poi + " --json", out), 0);
  const std::string json = read(out);
  EXPECT_NE(json.find("\"points\": 5000"), std::string::npos) << json;
  EXPECT_NE(json.find("\"box_totals\": [1, 3, 7, 15, 31, 63, 127, 255, 511]"), std::string::npos)
      << json;
  const std::size_t at = json.find("\"capacity_dimension\": ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_NEAR(std::stod(json.substr(at + 22)), 1.09148, 5e-6);
}

TEST(CliDimension, UndefinedRefusedAndUnreadableEndWithStatusOne) {
  test::TempDir dir;
  const std::string out = dir.file("out.txt");
  const std::string one = dir.write("one.poi", test::poincare_file({{0.0, 0.0}}));
  EXPECT_EQ(run_cli("dimension " + one + " --json", out), 1);
  EXPECT_NE(read(out).find("\"capacity_dimension\": null"), std::string::npos);
  EXPECT_NE(read(err_path()).find("undefined"), std::string::npos);

  const std::string pha = dir.write("o.pha", test::orbit_file({{0.002, 0.1, 1.0, 0}}));
  EXPECT_EQ(run_cli("dimension " + pha, out), 1);
  EXPECT_NE(read(err_path()).find("orbit file"), std::string::npos);
  EXPECT_EQ(run_cli("dimension " + dir.file("none.poi"), out), 1);
  EXPECT_NE(read(err_path()).find("none.poi"), std::string::npos);
}

#ifdef KV_CLI_PRINTS
TEST(CliPrint, WritesAPdfWhoseTextsAreThePages) {
  test::TempDir dir;
  const std::string poi = row_file(dir), pdf = dir.file("page.pdf"), out = dir.file("out.txt");
  ASSERT_EQ(run_cli("print " + poi + " -o " + pdf, out), 0) << read(err_path());
  const std::string bytes = read(pdf);
  ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
  for (const auto& e : std::filesystem::directory_iterator(dir.file("")))
    EXPECT_EQ(e.path().filename().string().find("page.pdf."), std::string::npos)
        << "a temporary file was left: " << e.path();
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  const std::string txt = dir.file("page.txt");
  ASSERT_EQ(std::system(("pdftotext -enc UTF-8 " + pdf + " " + txt).c_str()), 0);
  const std::string text = read(txt);
  for (const char* want : {"Kestavor Chaotic Pendulum", "number of phase plot points=0",
                           "number of Poincare plot points=5000", "VELOCITY", "(rad/s)",
                           "PHASE (radian)", "\xE2\x88\x92\xCF\x80", "40", "-40"})
    EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
}

TEST(CliPrint, WritesASpectrumPageAsAPngAt150Dpi) {
  test::TempDir dir;
  const std::string fft =
      dir.write("s.fft", test::spectrum_file(512, [](int j) { return 100.0 / j; }));
  const std::string png = dir.file("page.png"), out = dir.file("out.txt");
  ASSERT_EQ(run_cli("print " + fft + " -o " + png, out), 0) << read(err_path());
  const std::string bytes = read(png);
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
  EXPECT_EQ(read(out), "");  // a success prints only its result: here, the page
}

TEST(CliPrint, AFailureLeavesNoPageAndKeepsAnOlderFile) {
  test::TempDir dir;
  const std::string out = dir.file("out.txt");
  const std::string old = dir.write("page.pdf", "an older page");
  const std::string bad = dir.write("bad.pha", " 1 \r\nPHASE\r\n0.002 x 1 0\r\n");
  EXPECT_EQ(run_cli("print " + bad + " -o " + old, out), 1);
  EXPECT_NE(read(err_path()).find("line 3"), std::string::npos);
  EXPECT_EQ(read(old), "an older page");

  const std::string poi = row_file(dir);
  const std::string nowhere = dir.file("missing/page.pdf");
  EXPECT_EQ(run_cli("print " + poi + " -o " + nowhere, out), 1);
  EXPECT_NE(read(err_path()).find("missing/page.pdf"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(nowhere));

  const std::string empty = dir.write("empty.poi", " 0 \r\nPOINCARE\r\n");
  EXPECT_EQ(run_cli("print " + empty + " -o " + dir.file("e.pdf"), out), 1);
  EXPECT_NE(read(err_path()).find("nothing to print"), std::string::npos);
}
#else
TEST(CliPrint, SaysItIsNotAvailableWithoutQt) {
  test::TempDir dir;
  const std::string poi = row_file(dir);
  EXPECT_NE(run_cli("print " + poi + " -o " + dir.file("p.pdf"), dir.file("out.txt")), 0);
  EXPECT_NE(read(err_path()).find("not available"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.file("p.pdf")));
}
#endif

}  // namespace
}  // namespace kv
