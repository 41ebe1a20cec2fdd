// The orbit-file reader: list-input rules, single-precision velocities, record counting
// at the end of the text, and errors that name the line.
#include <gtest/gtest.h>

#include <string>

#include "datafiles/orbit_reader.h"
#include "platform/input_file.h"
#include "tests/support/data_files.h"

namespace kv {
namespace {

using St = OrbitReader::Status;

TEST(OrbitReader, ReadsHeaderAndVelocitiesAsSinglePrecision) {
  OrbitReader in(" 36864 \r\nPHASE\r\n.002 -1.2346 0.1 3\r\n1.5,+2.5e-1,-4.5678,-2\r\n");
  double n = 0;
  std::string word;
  ASSERT_EQ(in.read_number(n), St::ok);
  EXPECT_EQ(n, 36864);
  ASSERT_EQ(in.read_word(word), St::ok);
  EXPECT_EQ(word, "PHASE");
  float v = 0;
  ASSERT_EQ(in.read_velocity(v), St::ok);
  EXPECT_EQ(v, 0.1f);  // the nearest float to the text, not a double rounded again
  ASSERT_EQ(in.read_velocity(v), St::ok);
  EXPECT_EQ(v, -4.5678f);
  EXPECT_EQ(in.records(), 2);
  EXPECT_EQ(in.read_velocity(v), St::end);
  EXPECT_EQ(in.records(), 2);
}

TEST(OrbitReader, KeepsTheVelocityOfTheLastOfSeveralRecords) {
  std::string text;
  for (int i = 1; i <= 40; ++i) text += "1 2 " + std::to_string(i) + " 0\n";
  OrbitReader in(text);
  float v = 0;
  ASSERT_EQ(in.read_velocity(v, 18), St::ok);
  EXPECT_EQ(v, 18.0f);
  ASSERT_EQ(in.read_velocity(v, 18), St::ok);
  EXPECT_EQ(v, 36.0f);
  // Only 4 records remain: the end is reported with the whole records counted.
  EXPECT_EQ(in.read_velocity(v, 18), St::end);
  EXPECT_EQ(in.records(), 40);
}

TEST(OrbitReader, ListInputItemRules) {
  // Items across line breaks, an empty item between commas reads as 0, so does a point
  // alone (a recording's time 0 is written "."), and a partial record at the end is not
  // counted.
  OrbitReader in("1 2\n7 0\n1,2,,0\n. -1.2 -. 0\n5 6 7");
  float v = -1;
  ASSERT_EQ(in.read_velocity(v), St::ok);
  EXPECT_EQ(v, 7.0f);
  for (int k = 0; k < 2; ++k) {
    v = -1;
    ASSERT_EQ(in.read_velocity(v), St::ok);
    EXPECT_EQ(v, 0.0f);
  }
  EXPECT_EQ(in.read_velocity(v), St::end);
  EXPECT_EQ(in.records(), 3);
}

TEST(OrbitReader, FieldsThatAreNotNumbersNameTheirLine) {
  const char* bad[] = {"abc", "1.2.3", "1e", "nan", "inf", "--1", ".e1", "3x", "0x10", "..", ".-"};
  for (const char* item : bad) {
    std::string text = "1 2 3 4\r\n1 2 3 4\r\n1 " + std::string(item) + " 3 4\r\n";
    OrbitReader in(text);
    float v = 0;
    ASSERT_EQ(in.read_velocity(v, 2), St::ok);
    ASSERT_EQ(in.read_velocity(v), St::bad) << item;
    EXPECT_EQ(in.error(), "line 3: \"" + std::string(item) + "\" is not a number");
  }
  OrbitReader head("PHASE\n");
  double n = 0;
  EXPECT_EQ(head.read_number(n), St::bad);
  EXPECT_EQ(head.error(), "line 1: \"PHASE\" is not a number");
}

TEST(OrbitReader, RefusesEveryVelocityBeyondAFloatAndReadsTinyOnesAsZero) {
  // Beyond a double too (1e309 once read as 0); the sign does not matter.
  for (const char* item :
       {"1e39", "1e60", "3.5e38", "1e309", "-1e309", "1e99999", "123456789e300"}) {
    const std::string text = "1 2 " + std::string(item) + " 4\r\n";
    OrbitReader in(text);
    float v = 0;
    EXPECT_EQ(in.read_velocity(v), St::bad) << item;
    EXPECT_EQ(in.error(), "line 1: \"" + std::string(item) + "\" is out of range");
  }
  for (const char* item : {"1e-60", "1e-400", "-1e-99999", "0.0000001e-320", "0e99999"}) {
    const std::string text = "1 2 " + std::string(item) + " 4\r\n";
    OrbitReader in(text);
    float v = 7;
    EXPECT_EQ(in.read_velocity(v), St::ok) << item;
    EXPECT_EQ(v, 0.0f) << item;
  }
}

TEST(OrbitReader, RefusesALineLongerThanAnyValidLineWithItsNumber) {
  // The last field ends past the longest line; a record ending in time is read, and its
  // line refused at its end.
  const std::string ok_line = std::string(kMaxOrbitLine - 7, ' ') + "1 2 3 4";
  const std::string long_line = " " + ok_line;
  // (A line ended by LF alone is refused one character sooner than one ended by CR LF.)
  for (const std::string& tail : {std::string("\r\n"), std::string("\n"), std::string("")}) {
    const std::string fine_text = "1 2 3 4\r\n" + ok_line + tail;
    OrbitReader fine(fine_text);
    float v = 0;
    EXPECT_EQ(fine.read_velocity(v, 2), St::ok);
    EXPECT_EQ(fine.read_velocity(v), St::end);
    const std::string text = "1 2 3 4\r\n" + long_line + tail + "1 2 3 4\r\n";
    OrbitReader in(text);
    EXPECT_EQ(in.read_velocity(v), St::ok);
    EXPECT_EQ(in.read_velocity(v), St::bad);
    EXPECT_EQ(in.error(),
              "line 2: the line is longer than " + std::to_string(kMaxOrbitLine) + " characters");
  }
  // Trailing blanks count too: kMaxOrbitLine characters before a CR LF are fine, one more
  // before a LF alone is not.
  const std::string padded = "1 2 3 4" + std::string(kMaxOrbitLine - 7, ' ');
  for (const std::string end : {"\r\n", " \n"}) {
    const std::string text = padded + end + "1 2 3 4\n";
    OrbitReader in(text);
    float w = 0;
    EXPECT_EQ(in.read_velocity(w), St::ok);
    EXPECT_EQ(in.read_velocity(w), end == "\r\n" ? St::ok : St::bad) << in.error();
  }
  // One endless item, and the same in the header.
  const std::string trailing = "1 2 3 4" + std::string(kMaxOrbitLine, ' ') + "\n1 2 3 4\n";
  OrbitReader blanks(trailing);
  float v = 0;
  EXPECT_EQ(blanks.read_velocity(v), St::ok);
  EXPECT_EQ(blanks.read_velocity(v), St::bad);
  EXPECT_EQ(blanks.error(),
            "line 1: the line is longer than " + std::to_string(kMaxOrbitLine) + " characters");
  const std::string sevens(1 << 20, '7');
  OrbitReader endless(sevens);
  EXPECT_EQ(endless.read_velocity(v), St::bad);
  EXPECT_EQ(endless.error(),
            "line 1: the line is longer than " + std::to_string(kMaxOrbitLine) + " characters");
  const std::string long_header = " 12\r\n" + std::string(1000, 'P');
  OrbitReader header(long_header);
  double n = 0;
  std::string word;
  EXPECT_EQ(header.read_number(n), St::ok);
  EXPECT_EQ(header.read_word(word), St::bad);
  EXPECT_EQ(header.error().substr(0, 7), "line 2:");
}

TEST(OrbitReader, ShowsNonPrintableBytesOfABadFieldEscaped) {
  OrbitReader in("1 2 \x1b[2J\x07\x7f\xff\\ 4\r\n");
  float v = 0;
  EXPECT_EQ(in.read_velocity(v), St::bad);
  EXPECT_EQ(in.error(), "line 1: \"\\x1b[2J\\x07\\x7f\\xff\\\" is not a number");
}

TEST(OrbitReader, SkipsALeadingByteOrderMark) {
  OrbitReader in("\xEF\xBB\xBF 36864 \r\nPHASE\r\n1 2 3 4\r\n");
  double n = 0;
  ASSERT_EQ(in.read_number(n), St::ok);
  EXPECT_EQ(n, 36864);
  // Only at the start: elsewhere it is a field that is not a number.
  OrbitReader later(
      "1 2 \xEF\xBB\xBF"
      "3 4\r\n");
  float v = 0;
  EXPECT_EQ(later.read_velocity(v), St::bad);
}

// Every velocity and outcome of `text` read in memory, as a file (mapped or streamed) and
// through a pipe.
void expect_same_reading(const std::string& text) {
  auto read_all = [](OrbitReader& in, std::string& log) {
    double n = 0;
    std::string word;
    log += std::to_string(static_cast<int>(in.read_number(n))) + " " + std::to_string(n) + "|";
    log += std::to_string(static_cast<int>(in.read_word(word))) + " " + word + "|";
    float v = 0;
    St st;
    while ((st = in.read_velocity(v)) == St::ok) log += std::to_string(v) + ",";
    log += std::to_string(static_cast<int>(st)) + " " + std::to_string(in.records()) + " " +
           in.error();
  };
  std::string expected;
  OrbitReader mem(text);
  read_all(mem, expected);

  test::TempDir dir;
  const std::string path = dir.write("o.pha", text);
  for (InputFile::Access access : {InputFile::Access::map, InputFile::Access::stream}) {
    InputFile file;
    std::string error;
    ASSERT_TRUE(file.open(path, error, access)) << error;
    OrbitReader in(file);
    std::string got;
    read_all(in, got);
    EXPECT_EQ(got, expected);
  }
#ifndef _WIN32  // a pipe named through /proc
  test::PipeFeeder feeder(text);
  InputFile file;
  std::string error;
  ASSERT_TRUE(file.open(feeder.path(), error)) << error;
  EXPECT_FALSE(file.mapped());
  OrbitReader in(file);
  std::string got;
  read_all(in, got);
  EXPECT_EQ(got, expected);
#endif
}

TEST(OrbitReader, ReadsTheSameFromMemoryAFileAndAPipe) {
  // Long enough for many windows of the reader, with lines of every length up to the
  // longest allowed, items across lines, a bad field far in, and a long line at the end.
  std::string text = " 5000 \r\nPHASE\r\n";
  for (int i = 0; i < 40000; ++i) {
    text += std::to_string(i) + " .5 " + std::to_string(i * 0.25) + " 0";
    text += std::string(static_cast<std::size_t>(i % 97 == 0 ? kMaxOrbitLine - 40 : i % 7), ' ');
    text += i % 5 == 0 ? "\n" : "\r\n";
  }
  expect_same_reading(text);
  expect_same_reading(text + "1 2 3 4 " + std::string(kMaxOrbitLine, ' ') + "\r\n");
  expect_same_reading(text + "1 2 3 4 " + std::string(kMaxOrbitLine, ' '));
  std::string bad = text;
  bad.replace(bad.size() / 2, 1, "x");
  expect_same_reading(bad);
  expect_same_reading("");
  expect_same_reading("\xEF\xBB\xBF");
  expect_same_reading(" 12\r\nPHASE\r\n1 2 3 4");
}

TEST(InputFile, NamesTheFileItCannotOpen) {
  InputFile file;
  std::string error;
  EXPECT_FALSE(file.open("/nonexistent-folder/y.pha", error));
  EXPECT_EQ(error.rfind("Cannot open the file /nonexistent-folder/y.pha: ", 0), 0u) << error;
  test::TempDir dir;
  const std::string empty = dir.write("e.pha", "");
  ASSERT_TRUE(file.open(empty, error)) << error;
  OrbitReader in(file);
  double n = 0;
  EXPECT_EQ(in.read_number(n), St::end);
}

}  // namespace
}  // namespace kv
