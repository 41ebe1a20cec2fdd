// The orbit-file reader: list-input rules, single-precision velocities, record counting
// at the end of the text, and errors that name the line.
#include <gtest/gtest.h>

#include <string>

#include "datafiles/orbit_reader.h"

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
  // Items across line breaks, an empty item between commas reads as 0, a partial record
  // at the end is not counted.
  OrbitReader in("1 2\n7 0\n1,2,,0\n5 6 7");
  float v = -1;
  ASSERT_EQ(in.read_velocity(v), St::ok);
  EXPECT_EQ(v, 7.0f);
  ASSERT_EQ(in.read_velocity(v), St::ok);
  EXPECT_EQ(v, 0.0f);
  EXPECT_EQ(in.read_velocity(v), St::end);
  EXPECT_EQ(in.records(), 2);
}

TEST(OrbitReader, FieldsThatAreNotNumbersNameTheirLine) {
  const char* bad[] = {"abc", "1.2.3", "1e", "nan", "inf", "--1", ".", "3x", "0x10"};
  for (const char* item : bad) {
    std::string text = "1 2 3 4\r\n1 2 3 4\r\n1 " + std::string(item) + " 3 4\r\n";
    OrbitReader in(text);
    float v = 0;
    ASSERT_EQ(in.read_velocity(v, 2), St::ok);
    ASSERT_EQ(in.read_velocity(v), St::bad) << item;
    EXPECT_EQ(in.error(), "line 3: \"" + std::string(item) + "\" is not a number");
  }
  // A velocity beyond the range of a float is refused; a tiny one reads as 0.
  OrbitReader big("1 2 1e60 4\n");
  float v = 0;
  EXPECT_EQ(big.read_velocity(v), St::bad);
  EXPECT_EQ(big.error(), "line 1: \"1e60\" is out of range");
  OrbitReader tiny("1 2 1e-60 4\n");
  EXPECT_EQ(tiny.read_velocity(v), St::ok);
  EXPECT_EQ(v, 0.0f);
  OrbitReader head("PHASE\n");
  double n = 0;
  EXPECT_EQ(head.read_number(n), St::bad);
  EXPECT_EQ(head.error(), "line 1: \"PHASE\" is not a number");
}

}  // namespace
}  // namespace kv
